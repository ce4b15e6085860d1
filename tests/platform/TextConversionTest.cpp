// Conversions whose results are the same with the stand-in's codecs and the
// system's converters.
#include <gtest/gtest.h>

#include <string>

#include "platform/TextConversion.h"

namespace {

using namespace platform;

TEST(TextConversion, Utf8RoundTripsAndBadInputIsReplaced) {
    const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // "Grüße € 😀"
    EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(WideToUtf16Le(Utf8ToWide("\xF0\x9F\x98\x80")), std::string("\x3D\xD8\x00\xDE", 4));  // a surrogate pair
    const uint8_t loneSurrogate[] = {0x41, 0x00, 0x00, 0xD8, 0x42, 0x00, 0x43};
    EXPECT_EQ(Utf16LeToWide(loneSurrogate, sizeof loneSurrogate), L"A\uFFFDB");
    EXPECT_EQ(WideToAnsi(L"A\u0F00"), "A?");  // in no ANSI code page
}

}  // namespace
