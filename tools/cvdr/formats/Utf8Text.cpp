#include "formats/Utf8Text.h"

#include <cstdint>

namespace cvdr {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    size_t length;  // bytes consumed, at least 1
};

// Sequence length announced by a lead byte, 0 for a byte that cannot lead.
size_t SequenceLength(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Smallest code point that a sequence of `length` bytes may carry.
char32_t MinimumFor(size_t length) {
    static const char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    return kMinimum[length];
}

Decoded DecodeAt(std::string_view text, size_t position) {
    const uint8_t lead = static_cast<uint8_t>(text[position]);
    const size_t length = SequenceLength(lead);
    if (length == 0 || position + length > text.size()) return {kReplacement, 1};
    if (length == 1) return {lead, 1};
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = static_cast<uint8_t>(text[position + i]);
        if ((next & 0xC0) != 0x80) return {kReplacement, 1};
        value = (value << 6) | (next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < MinimumFor(length) || value > 0x10FFFF || surrogate) return {kReplacement, 1};
    return {value, length};
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (size_t position = 0; position < text.size();) {
        const Decoded decoded = DecodeAt(text, position);
        wide.push_back(static_cast<wchar_t>(decoded.codePoint));
        position += decoded.length;
    }
    return wide;
}

size_t CodePointCount(std::string_view text) {
    size_t count = 0;
    for (size_t position = 0; position < text.size(); ++count) position += DecodeAt(text, position).length;
    return count;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) AppendUtf8(out, static_cast<char32_t>(c));
    return out;
}

std::string ValidUtf8(std::string_view text) { return WideToUtf8(Utf8ToWide(text)); }

}  // namespace cvdr
