// The UTF-8 repair of cvdr's outputs and the JSON writer's number rules;
// strings, key order and layout are covered by the dump tests.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "formats/json/JsonWriter.h"

namespace {

using cvdr::JsonWriter;

// Each byte that does not decode becomes one U+FFFD; the largest code
// points still decode.
TEST(ValidUtf8Test, ReplacesEveryUndecodableByte) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(cvdr::ValidUtf8("\x80z"), r + "z");                   // stray continuation
    EXPECT_EQ(cvdr::ValidUtf8("\xE2\x82z"), r + r + "z");           // cut short
    EXPECT_EQ(cvdr::ValidUtf8("\xE2\x82"), r + r);                  // cut by the end
    EXPECT_EQ(cvdr::ValidUtf8("\xC0\x80"), r + r);                  // overlong NUL
    EXPECT_EQ(cvdr::ValidUtf8("\xE0\x80\xAF"), r + r + r);          // overlong '/'
    EXPECT_EQ(cvdr::ValidUtf8("\xED\xA0\x80"), r + r + r);          // surrogate
    EXPECT_EQ(cvdr::ValidUtf8("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
    EXPECT_EQ(cvdr::ValidUtf8("\xF5\xFF"), r + r);
    EXPECT_EQ(cvdr::ValidUtf8("\xEF\xBF\xBF\xF4\x8F\xBF\xBF"), "\xEF\xBF\xBF\xF4\x8F\xBF\xBF");
    EXPECT_EQ(cvdr::CodePointCount("\xC3\xA9\xE2\x82z"), 4u);
}

TEST(JsonWriterTest, WritesNumbersByTheDumpRules) {
    const double values[] = {0.1, 1e-7, 0.1 + 0.2, -0.0, 1e300, DBL_MIN, 4.9e-324, DBL_MAX, 13.0, -2.5};
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginArray();
    for (double value : values) json.Number(value);
    json.Number(std::nan("")).Number(HUGE_VAL).Number(-HUGE_VAL);
    json.Int(std::numeric_limits<int64_t>::min()).UInt(std::numeric_limits<uint64_t>::max()).EndArray();
    const nlohmann::json parsed = nlohmann::json::parse(out.str());
    ASSERT_EQ(parsed.size(), std::size(values) + 5);
    for (size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(parsed[i].get<double>(), values[i]) << i;
    EXPECT_EQ(parsed[std::size(values) + 0], "nan");
    EXPECT_EQ(parsed[std::size(values) + 1], "inf");
    EXPECT_EQ(parsed[std::size(values) + 2], "-inf");
    EXPECT_EQ(parsed[std::size(values) + 3], std::numeric_limits<int64_t>::min());
    EXPECT_EQ(parsed[std::size(values) + 4], std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(cvdr::NumberText(0.1), "0.1");
    EXPECT_EQ(cvdr::NumberText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(cvdr::NumberText(13.0), "13");
}

}  // namespace
