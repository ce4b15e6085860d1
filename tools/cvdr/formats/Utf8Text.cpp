#include "formats/Utf8Text.h"

#include "platform/TextConversion.h"

namespace cvdr {

std::string ValidUtf8(std::string_view text) { return platform::WideToUtf8(platform::Utf8ToWide(text)); }

size_t CodePointCount(std::string_view text) { return platform::Utf8ToWide(text).size(); }

}  // namespace cvdr
