#include "formats/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace cvdr {

std::string NumberText(double value) {
    std::string text;
    AppendNumber(text, value);
    return text;
}

namespace {

// NumberText(value) into `buffer`; returns its length (at most 24).
size_t FormatNumber(char* buffer, size_t size, double value) {
    const char* special = std::isnan(value) ? "nan" : !std::isinf(value) ? nullptr : value < 0 ? "-inf" : "inf";
    if (special != nullptr) {
        const size_t length = std::strlen(special);
        std::memcpy(buffer, special, length);
        return length;
    }
    return static_cast<size_t>(std::to_chars(buffer, buffer + size, value).ptr - buffer);
}

}  // namespace

char* PutNumber(char* out, double value) { return out + FormatNumber(out, 24, value); }

void AppendNumber(std::string& out, double value) {
    std::array<char, 32> buffer;
    out.append(buffer.data(), FormatNumber(buffer.data(), buffer.size(), value));
}

NumberTextCache::NumberTextCache() : m_entries(size_t{2} << kPairBits) {}

// Two entries per hash value: a new text goes first, the one it displaces
// second, so that two values with the same hash value both stay. Which of
// the two holds a value is not predictable: it is chosen without a branch.
char* NumberTextCache::Put(char* out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Entry* const pair = Pair(value);
    const bool inFirst = pair[0].Holds(bits);
    if (inFirst | pair[1].Holds(bits)) {
        const Entry& entry = pair[inFirst ? 0 : 1];
        std::memcpy(out, entry.text, kKeptBytes);  // a copy of fixed size costs no loop
        return out + entry.length;
    }
    const size_t length = FormatNumber(out, kPutBytes, value);
    if (length > kKeptBytes) return out + length;
    pair[1] = pair[0];
    pair[0].bits = bits;
    std::memcpy(pair[0].text, out, length);
    pair[0].length = static_cast<uint8_t>(length);
    return out + length;
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
