#include "devicemodel/Wildcard.h"

#include <cstddef>

namespace devicemodel {

namespace {

constexpr size_t kNone = std::string_view::npos;

// Index of the "]" that closes the set opened at `open`, or kNone.
size_t SetEnd(std::string_view pattern, size_t open) {
    size_t pos = open + 1;
    if (pos < pattern.size() && pattern[pos] == '!') ++pos;
    if (pos < pattern.size() && pattern[pos] == ']') ++pos;  // literal first "]"
    return pattern.find(']', pos);
}

// Whether `c` is in the set between `first` and `close` (exclusive).
bool InSet(std::string_view pattern, size_t first, size_t close, unsigned char c) {
    for (size_t pos = first; pos < close; ++pos) {
        const auto low = static_cast<unsigned char>(pattern[pos]);
        if (pos + 2 < close && pattern[pos + 1] == '-') {
            const auto high = static_cast<unsigned char>(pattern[pos + 2]);
            if (low <= c && c <= high) return true;
            pos += 2;
        } else if (low == c) {
            return true;
        }
    }
    return false;
}

// Whether the single-byte token at `pos` matches `c`; `length` receives the
// token's length in the pattern.
bool TokenMatches(std::string_view pattern, size_t pos, char c, size_t& length) {
    length = 1;
    if (pattern[pos] == '?') return true;
    if (pattern[pos] != '[') return pattern[pos] == c;
    const size_t close = SetEnd(pattern, pos);
    if (close == kNone) return c == '[';
    length = close - pos + 1;
    const bool negated = pattern[pos + 1] == '!';
    const size_t first = pos + (negated ? 2 : 1);
    return InSet(pattern, first, close, static_cast<unsigned char>(c)) != negated;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text) {
    size_t p = 0;
    size_t t = 0;
    size_t starPattern = kNone;  // pattern position after the last "*" seen
    size_t starText = 0;         // text position that "*" currently ends at
    while (t < text.size()) {
        size_t length = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starText = t;
        } else if (p < pattern.size() && TokenMatches(pattern, p, text[t], length)) {
            p += length;
            ++t;
        } else if (starPattern != kNone) {
            p = starPattern;  // let the last "*" swallow one more byte
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool HasWildcard(std::string_view pattern) { return pattern.find_first_of("*?[") != std::string_view::npos; }

}  // namespace devicemodel
