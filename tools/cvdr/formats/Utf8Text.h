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

// Number of code points in `text`, each undecodable byte counted as one; used
// to line up table columns.
size_t CodePointCount(std::string_view text);

}  // namespace cvdr

#endif
