// UTF-8 rules of cvdr's outputs, on top of the decoder's text conversions
// (platform/TextConversion.h): every text cvdr writes is valid UTF-8.
#ifndef CVDR_FORMATS_UTF8_TEXT_H
#define CVDR_FORMATS_UTF8_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace cvdr {

// `text` with every byte that does not start or continue a well-formed
// sequence (overlong forms, surrogates and values above U+10FFFF included)
// replaced by U+FFFD, one per byte.
std::string ValidUtf8(std::string_view text);

// ValidUtf8(text) with control characters shown as escapes ("\n", "\r", "\t",
// "\x1B", "\x7F"; C1 controls as "\u0085"), so that a text from a record or
// a model stays on its line and cannot drive the terminal.
std::string PrintableText(std::string_view text);

// Number of code points in `text`, each undecodable byte counted as one; used
// to line up table columns.
size_t CodePointCount(std::string_view text);

}  // namespace cvdr

#endif
