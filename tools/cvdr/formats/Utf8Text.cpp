#include "formats/Utf8Text.h"

#include "platform/TextConversion.h"

namespace cvdr {

namespace {

// Whether `text` is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, surrogates or code points past U+10FFFF. Such a
// text converts to itself, so it needs no conversion.
bool IsWellFormedUtf8(std::string_view text) {
    for (size_t k = 0; k < text.size();) {
        const auto lead = static_cast<unsigned char>(text[k]);
        if (lead < 0x80) {
            ++k;
            continue;
        }
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (text.size() - k < length) return false;
        const auto second = static_cast<unsigned char>(text[k + 1]);
        if (second < low || second > high) return false;
        for (size_t i = 2; i < length; ++i) {
            if ((static_cast<unsigned char>(text[k + i]) & 0xC0) != 0x80) return false;
        }
        k += length;
    }
    return true;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    if (IsWellFormedUtf8(text)) return std::string(text);
    return platform::WideToUtf8(platform::Utf8ToWide(text));
}

std::string PrintableText(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    const std::string valid = ValidUtf8(text);
    std::string out;
    out.reserve(valid.size());
    for (size_t k = 0; k < valid.size(); ++k) {
        const auto byte = static_cast<unsigned char>(valid[k]);
        const bool c1 = byte == 0xC2 && k + 1 < valid.size() && static_cast<unsigned char>(valid[k + 1]) < 0xA0;
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        } else if (c1) {
            const auto control = static_cast<unsigned char>(valid[++k]);
            out += {'\\', 'u', '0', '0', kHex[control >> 4], kHex[control & 0xF]};
        } else {
            out += valid[k];
        }
    }
    return out;
}

size_t CodePointCount(std::string_view text) { return platform::Utf8ToWide(text).size(); }

}  // namespace cvdr
