// Texts as they may stand in a field of the configuration file: the fields
// are separated by commas and the lines by line ends, so neither may occur
// inside a field, and every field has a largest length.
#ifndef CVDR_FORMATS_COMTRADE_FIELD_TEXT_H
#define CVDR_FORMATS_COMTRADE_FIELD_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace cvdr::comtrade {

struct FieldRules {
    size_t maxLength;        // in characters (code points)
    bool asciiOnly = false;  // 1999 files are ASCII text
};

// Field limits of the configuration file.
inline constexpr size_t kNameLength = 64;  // station, device and channel ids
inline constexpr size_t kUnitLength = 32;

// `text` made fit for a field: a comma becomes a semicolon, a line end or
// other control character a blank, blanks at either end are dropped, bytes
// that are not UTF-8 become U+FFFD, with asciiOnly every character beyond
// ASCII becomes '?', and the result is cut to maxLength characters.
std::string FieldText(std::string_view text, const FieldRules& rules);

}  // namespace cvdr::comtrade

#endif
