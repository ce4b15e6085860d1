#include "formats/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace cvdr {

std::string NumberText(double value) {
    std::string text;
    AppendNumber(text, value);
    return text;
}

void AppendNumber(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "nan";
    } else if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
    } else {
        std::array<char, 32> buffer;
        const std::to_chars_result result =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        out.append(buffer.data(), result.ptr);
    }
}

std::string ColorText(uint32_t colorRef) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift = 0; shift <= 16; shift += 8) {  // red, green, blue
        const uint32_t component = (colorRef >> shift) & 0xFF;
        text += kDigits[component >> 4];
        text += kDigits[component & 0xF];
    }
    return text;
}

}  // namespace cvdr
