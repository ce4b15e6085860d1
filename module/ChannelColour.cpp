#include "module/ChannelColour.h"

#include "platform/TextConversion.h"

uint32_t AnalogChannelColour(const std::string& shortKey, uint32_t index) {
    const std::string upper = platform::AsciiUpper(shortKey);
    const bool l1 = upper.find("L1") != std::string::npos;
    const bool l2 = upper.find("L2") != std::string::npos;
    const bool l3 = upper.find("L3") != std::string::npos;
    if (l1 && !l2 && !l3) return 0x0000FF;
    if (l2 && !l3 && !l1) return 0x008000;
    if (l3 && !l1 && !l2) return 0xFF0000;
    return index * 0xA3333u + 0x1180FFu;
}
