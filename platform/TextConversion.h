// Text conversion between the module's 8-bit texts and wide text.
//
// Record and model texts are UTF-8 where they carry names; some texts are
// decoded with the system's "ANSI code page". Every conversion accepts any
// input: bytes that do not decode become U+FFFD, code points that do not
// encode become '?'.
//
// Linux stand-in (TextConversion.cpp): wide text holds one Unicode code point
// per element, and the ANSI code page is Windows-1252; a malformed UTF-8
// sequence gives one U+FFFD per byte that cannot start or continue it.
//
// Windows (win32/TextConversion.cpp): MultiByteToWideChar and
// WideCharToMultiByte. Wide text is UTF-16 there: a code point above U+FFFF
// takes two elements (a surrogate pair), and a lone surrogate counts as one
// element that encodes as U+FFFD. The ANSI code page is the system's (CP_ACP;
// Windows-1252 on Western European systems, a multi-byte code page on some
// Asian ones). Characters it lacks become '?' without best-fit substitutes,
// and the system decides how many U+FFFD a malformed UTF-8 sequence gives.
#ifndef DR_MVQ4_PLATFORM_TEXT_CONVERSION_H
#define DR_MVQ4_PLATFORM_TEXT_CONVERSION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AsciiCase.h"

namespace platform {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
// Whether `text` is well-formed UTF-8: no stray or missing continuation
// bytes, overlong forms, surrogates or code points past U+10FFFF, nothing
// Utf8ToWide would replace.
bool IsWellFormedUtf8(std::string_view text);

// The system's ANSI code page (Windows-1252 in the stand-in).
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

// UTF-16 little-endian bytes (no byte-order mark expected) to wide text;
// a lone surrogate becomes U+FFFD, an odd trailing byte is ignored.
std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size);
// Wide text to UTF-16 little-endian bytes, without terminator.
std::string WideToUtf16Le(std::wstring_view text);

}  // namespace platform

#endif
