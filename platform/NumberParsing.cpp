#include "platform/NumberParsing.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips white space and a sign; returns true for a minus sign.
bool TakeSign(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    text.remove_prefix(i);
    return negative;
}

// Order of magnitude of a decimal real text that overflowed or underflowed:
// positive for too large, negative for too small.
int64_t DecimalMagnitude(std::string_view text) {
    size_t i = 0;
    int64_t magnitude = 0;
    bool significant = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        significant = significant || text[i] != '0';
        if (significant) ++magnitude;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            if (significant) continue;
            if (text[i] != '0') significant = true;
            else --magnitude;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const int64_t exponent = ParseInt64(text.substr(i + 1));
        const int64_t kLimit = int64_t{1} << 40;  // far beyond any double, safe to add
        magnitude += exponent > kLimit ? kLimit : (exponent < -kLimit ? -kLimit : exponent);
    }
    return magnitude;
}

}  // namespace

int64_t ParseInt64(std::string_view text) {
    const bool negative = TakeSign(text);
    // Accumulate negatively so that the minimum value needs no special case.
    int64_t value = 0;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (value < (kMin + digit) / 10) {
            return negative ? kMin : std::numeric_limits<int64_t>::max();
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int32_t ParseInt32(std::string_view text) {
    const int64_t value = ParseInt64(text);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t ParseLow32(std::string_view text) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ParseInt64(text))));
}

double ParseReal(std::string_view text) {
    const bool negative = TakeSign(text);
    std::chars_format format = std::chars_format::general;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        format = std::chars_format::hex;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, format);
    if (result.ec == std::errc::result_out_of_range) {
        const bool tooLarge = format == std::chars_format::general
                                  ? DecimalMagnitude(text) > 0
                                  : text.find("p-") == std::string_view::npos && text.find("P-") == std::string_view::npos;
        value = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

}  // namespace platform
