// Numbers in records parse like the C runtime's atoi / _atoi64 / atof: no
// error, 0 for text without a number, whatever the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "record/NumberParsing.h"

namespace {

using record::ParseInt32;
using record::ParseInt64;
using record::ParseLow32;
using record::ParseReal;

TEST(NumberParsing, IntegersTakeTheLeadingNumber) {
    EXPECT_EQ(ParseInt64("  \t-42abc"), -42);
    EXPECT_EQ(ParseInt64("+17"), 17);
    EXPECT_EQ(ParseInt64("abc"), 0);
    EXPECT_EQ(ParseInt64(""), 0);
    EXPECT_EQ(ParseInt64("- 5"), 0);
    EXPECT_EQ(ParseInt64("12 34"), 12);
    EXPECT_EQ(ParseInt64("0x10"), 0);
}

TEST(NumberParsing, IntegersClampOnOverflow) {
    EXPECT_EQ(ParseInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(ParseInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(ParseInt64("99999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(ParseInt64("-99999999999999999999"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(ParseInt32("3000000000"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseInt32("-3000000000"), std::numeric_limits<int32_t>::min());
    // Values stored as 32 bits after a 64-bit parse keep the low bits.
    EXPECT_EQ(ParseLow32("4294967297"), 1);
    EXPECT_EQ(ParseLow32("-1"), -1);
}

TEST(NumberParsing, RealsFollowAtof) {
    EXPECT_EQ(ParseReal(" 0.001"), 0.001);
    EXPECT_EQ(ParseReal("-2.9e1x"), -29.0);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("1,5"), 1.0);
    EXPECT_EQ(ParseReal("abc"), 0.0);
    EXPECT_EQ(ParseReal("0x1A"), 26.0);
    EXPECT_EQ(ParseReal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseReal("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseReal("1e-400"), 0.0);
    EXPECT_TRUE(std::isinf(ParseReal("INF")));
    EXPECT_TRUE(std::isnan(ParseReal("nan")));
}

TEST(NumberParsing, RealsIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale here";
    EXPECT_EQ(ParseReal("1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
