#include "formats/comtrade/FieldText.h"

#include "formats/Utf8Text.h"

namespace cvdr::comtrade {
namespace {

char32_t FieldCharacter(char32_t c, bool asciiOnly) {
    if (c == U',') return U';';
    if (c < 0x20 || c == 0x7F) return U' ';
    if (asciiOnly && c > 0x7F) return U'?';
    return c;
}

std::u32string_view TrimBlanks(std::u32string_view text) {
    while (!text.empty() && text.front() == U' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == U' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FieldText(std::string_view text, const FieldRules& rules) {
    std::u32string characters;
    for (wchar_t c : Utf8ToWide(text))
        characters.push_back(FieldCharacter(static_cast<char32_t>(c), rules.asciiOnly));
    std::u32string_view field = TrimBlanks(characters);
    if (field.size() > rules.maxLength) field = TrimBlanks(field.substr(0, rules.maxLength));
    std::string out;
    for (char32_t c : field) AppendUtf8(out, c);
    return out;
}

}  // namespace cvdr::comtrade
