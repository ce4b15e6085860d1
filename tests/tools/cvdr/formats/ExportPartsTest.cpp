// Parts of the exports where values at the edges matter: the scaling of
// extreme and degenerate ranges, calendar dates of time stamps, time codes,
// and field texts cut to their length.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "formats/comtrade/ConfigFile.h"
#include "formats/comtrade/FieldText.h"
#include "formats/comtrade/Scaling.h"

namespace {

using cvdr::comtrade::Scaling;
using cvdr::comtrade::ValueRange;

ValueRange RangeOf(std::initializer_list<double> values) {
    ValueRange range;
    for (double value : values) range.Add(value);
    return range;
}

TEST(ChannelScalingTest, ExtremeRangesFillTheIntegersWithoutOverflow) {
    const struct {
        double low, high;
    } ranges[] = {{-DBL_MAX, DBL_MAX}, {0.0, DBL_MAX}, {1e-300, 3e-300}, {1e15, 1e15 + 2}, {-7.5, -7.25}};
    for (const auto& range : ranges) {
        for (int64_t limit : {int64_t{32767}, int64_t{2147483647}}) {
            const Scaling scaling = Scaling::ForRange(RangeOf({range.low, range.high}), limit);
            ASSERT_TRUE(std::isfinite(scaling.A()) && scaling.A() > 0) << range.low;
            EXPECT_EQ(scaling.Quantise(range.low), -limit) << range.low << " " << limit;
            EXPECT_EQ(scaling.Quantise(range.high), limit) << range.high << " " << limit;
            const double middle = range.low / 2 + range.high / 2;
            const double back = scaling.A() * static_cast<double>(scaling.Quantise(middle)) + scaling.B();
            EXPECT_LE(std::fabs(back - middle), scaling.A() / 2 * (1 + 1e-9)) << range.low;
        }
    }
}

TEST(ChannelScalingTest, DegenerateRangesAreWrittenExactly) {
    const Scaling constant = Scaling::ForRange(RangeOf({-3.25, -3.25, NAN, INFINITY}), 32767);
    EXPECT_EQ(constant.A(), 1.0);
    EXPECT_EQ(constant.B(), -3.25);
    EXPECT_EQ(constant.Quantise(-3.25), 0);
    const Scaling empty = Scaling::ForRange(RangeOf({NAN, -INFINITY}), 32767);
    EXPECT_EQ(empty.A(), 1.0);
    EXPECT_EQ(empty.B(), 0.0);
}

TEST(ComtradeTimeTest, TimestampsCrossDaysYearsAndTheEpoch) {
    using cvdr::comtrade::TimestampText;
    constexpr int64_t kDay = int64_t{86400} * 1000000;
    EXPECT_EQ(TimestampText(0), "01/01/1970,00:00:00.000000");
    EXPECT_EQ(TimestampText(-1), "31/12/1969,23:59:59.999999");
    EXPECT_EQ(TimestampText(11016 * kDay + 1), "29/02/2000,00:00:00.000001");
    EXPECT_EQ(TimestampText(1700000000250000), "14/11/2023,22:13:20.250000");
    EXPECT_EQ(TimestampText(47482 * kDay - 1), "31/12/2099,23:59:59.999999");
}

TEST(ComtradeTimeTest, TimeCodesInHoursAndMinutes) {
    using cvdr::comtrade::TimeCodeText;
    EXPECT_EQ(TimeCodeText(0), "0");
    EXPECT_EQ(TimeCodeText(59), "0");
    EXPECT_EQ(TimeCodeText(3600), "+1");
    EXPECT_EQ(TimeCodeText(-5 * 3600 - 1800), "-5h30");
    EXPECT_EQ(TimeCodeText(13 * 3600 + 45 * 60), "+13h45");
}

TEST(FieldTextTest, CutsByCharactersAndKeepsAsciiWhereAsked) {
    using cvdr::comtrade::FieldRules;
    using cvdr::comtrade::FieldText;
    EXPECT_EQ(FieldText("  U\xC3\x9C"
                        "ber,last\tline\r\n ",
                        FieldRules{64, false}),
              "U\xC3\x9C"
              "ber;last line");
    EXPECT_EQ(FieldText("U\xC3\x9C"
                        "ber",
                        FieldRules{64, true}),
              "U?ber");
    EXPECT_EQ(FieldText("\xCE\xA9\xCE\xA9\xCE\xA9", FieldRules{2, false}), "\xCE\xA9\xCE\xA9");
    EXPECT_EQ(FieldText("ab   cd", FieldRules{4, false}), "ab");  // no blank left at the cut
    EXPECT_EQ(FieldText("a\xFF", FieldRules{8, false}), "a\xEF\xBF\xBD");
}

}  // namespace
