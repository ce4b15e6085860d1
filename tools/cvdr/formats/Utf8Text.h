// UTF-8 helpers of the host tool. The plug-in takes paths and options as wide
// text (one code point per wchar_t); command-line arguments arrive as UTF-8
// bytes. The conversion is done here by hand so that it does not depend on the
// process locale.
#ifndef CVDR_FORMATS_UTF8_TEXT_H
#define CVDR_FORMATS_UTF8_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace cvdr {

// Decodes UTF-8 into wide text. Every byte that does not start or continue a
// well-formed sequence (overlong forms, surrogates and values above U+10FFFF
// included) becomes U+FFFD, one per byte.
std::wstring Utf8ToWide(std::string_view text);

// `text` with every byte that cannot be decoded replaced by U+FFFD (one per
// byte), so that it is valid UTF-8.
std::string ValidUtf8(std::string_view text);

// Appends one code point as UTF-8; values that are no code point (surrogates,
// above U+10FFFF) become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Encodes wide text (one code point per element) as UTF-8.
std::string WideToUtf8(std::wstring_view text);

// Number of code points in `text`, each undecodable byte counted as one; used
// to line up table columns.
size_t CodePointCount(std::string_view text);

}  // namespace cvdr

#endif
