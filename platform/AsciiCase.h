// Case rules that ignore everything but ASCII letters, as the C runtime's
// upper-casing does in the "C" locale, and trimming of blanks; the same on
// every system.
#ifndef DR_MVQ4_PLATFORM_ASCII_CASE_H
#define DR_MVQ4_PLATFORM_ASCII_CASE_H

#include <string>
#include <string_view>

namespace platform {

// Upper-cases ASCII letters only.
std::wstring AsciiUpper(std::wstring_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

// `text` without the blanks and tabs around it.
std::wstring_view Trim(std::wstring_view text);

}  // namespace platform

#endif
