// Text conversion between the module's 8-bit texts and wide text.
//
// Wide text (std::wstring) holds one Unicode code point per element. Record
// and model texts are UTF-8 where they carry names; the "ANSI code page" that
// some texts are decoded with is Windows-1252. Every conversion accepts any
// input: bytes that do not decode become U+FFFD, code points that do not
// encode become '?'.
#ifndef DR_MVQ4_PLATFORM_TEXT_CONVERSION_H
#define DR_MVQ4_PLATFORM_TEXT_CONVERSION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// Windows-1252, the stand-in for the system's ANSI code page.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

// UTF-16 little-endian bytes (no byte-order mark expected) to wide text;
// a lone surrogate becomes U+FFFD, an odd trailing byte is ignored.
std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size);
// Wide text to UTF-16 little-endian bytes, without terminator.
std::string WideToUtf16Le(std::wstring_view text);

// Upper-cases ASCII letters only, as the C runtime does in the "C" locale.
std::wstring AsciiUpper(std::wstring_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

// `text` without the blanks and tabs around it.
std::wstring_view Trim(std::wstring_view text);

}  // namespace platform

#endif
