#include "formats/Utf8Text.h"

#include "platform/TextConversion.h"

namespace cvdr {

std::string ValidUtf8(std::string_view text) {
    if (platform::IsWellFormedUtf8(text)) return std::string(text);
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
