// Number formatting shared by the JSON dump and the readable summary.
#ifndef CVDR_FORMATS_NUMBER_TEXT_H
#define CVDR_FORMATS_NUMBER_TEXT_H

#include <cstdint>
#include <string>

namespace cvdr {

// Shortest decimal text that reads back to the same double ("0.1", "13",
// "1e-07"); "nan", "inf" or "-inf" for values that are not finite.
std::string NumberText(double value);

// Appends NumberText(value) to `out` without a string of its own, for writers
// that put millions of numbers into one buffer.
void AppendNumber(std::string& out, double value);

// Windows COLORREF (0x00BBGGRR) as "#RRGGBB" in upper-case hexadecimal.
std::string ColorText(uint32_t colorRef);

}  // namespace cvdr

#endif
