#include "formats/comtrade/FieldText.h"

#include "platform/TextConversion.h"

namespace cvdr::comtrade {
namespace {

wchar_t FieldCharacter(wchar_t c, bool asciiOnly) {
    if (c == L',') return L';';
    if (c < 0x20 || c == 0x7F) return L' ';
    if (asciiOnly && c > 0x7F) return L'?';
    return c;
}

}  // namespace

std::string FieldText(std::string_view text, const FieldRules& rules) {
    std::wstring characters = platform::Utf8ToWide(text);
    for (wchar_t& c : characters) c = FieldCharacter(c, rules.asciiOnly);
    std::wstring_view field = platform::Trim(characters);  // tabs are blanks already
    if (field.size() > rules.maxLength) field = platform::Trim(field.substr(0, rules.maxLength));
    return platform::WideToUtf8(field);
}

}  // namespace cvdr::comtrade
