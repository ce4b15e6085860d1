// Colours of channels (Windows COLORREF values, 0x00BBGGRR).
#ifndef DR_MVQ4_MODULE_CHANNEL_COLOUR_H
#define DR_MVQ4_MODULE_CHANNEL_COLOUR_H

#include <cstdint>
#include <string>

// Digital and logical channels are always dark blue.
constexpr uint32_t kTransitionalChannelColour = 0x800000;

// Colour of the analog channel at `index` with `shortKey`: red, dark green or
// blue for a key naming exactly one of the phases L1, L2, L3 (letters
// compared upper-cased), otherwise a colour stepped from the index.
uint32_t AnalogChannelColour(const std::string& shortKey, uint32_t index);

#endif
