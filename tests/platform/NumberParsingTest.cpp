// Numbers in records parse like the C runtime's atoi / _atoi64 / atof: no
// error, 0 for text without a number, whatever the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "platform/NumberParsing.h"

namespace {

using platform::ParseInt32;
using platform::ParseInt64;
using platform::ParseLow32;
using platform::ParseReal;

TEST(NumberParsing, IntegersTakeTheLeadingNumberAndClamp) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
    const std::pair<const char*, int64_t> cases[] = {
        // clang-format off
        {"  \t-42abc", -42}, {"+17", 17}, {"abc", 0}, {"", 0}, {"- 5", 0}, {"12 34", 12}, {"0x10", 0},
        {"9223372036854775807", kMax}, {"-9223372036854775808", kMin},
        {"99999999999999999999", kMax}, {"-99999999999999999999", kMin},
        // clang-format on
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseInt64(text), value) << text;
    EXPECT_EQ(ParseInt32("3000000000"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseInt32("-3000000000"), std::numeric_limits<int32_t>::min());
    // Values stored as 32 bits after a 64-bit parse keep the low bits.
    EXPECT_EQ(ParseLow32("4294967297"), 1);
    EXPECT_EQ(ParseLow32("-1"), -1);
}

TEST(NumberParsing, RealsFollowAtof) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> cases[] = {
        {" 0.001", 0.001}, {"-2.9e1x", -29.0}, {".5", 0.5},       {"1,5", 1.0},    {"abc", 0.0},
        {"0x1A", 26.0},    {"1e400", kInf},    {"-1e400", -kInf}, {"1e-400", 0.0}, {"INF", kInf}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseReal(text), value) << text;
    EXPECT_TRUE(std::isnan(ParseReal("nan")));
}

TEST(NumberParsing, RealsIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // The locale's name as the C library here and Windows' runtime spell it.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "German") == nullptr) {
        GTEST_SKIP() << "no German locale here";
    }
    EXPECT_EQ(ParseReal("1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
