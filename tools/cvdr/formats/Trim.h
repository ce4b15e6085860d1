// Blanks and tabs around a text, as the settings file and the COMTRADE
// fields drop them.
#ifndef CVDR_FORMATS_TRIM_H
#define CVDR_FORMATS_TRIM_H

#include <string_view>

namespace cvdr {

inline std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace cvdr

#endif
