// The number-text table of the CSV writer: whatever it keeps or pushes out,
// each text is the one NumberText makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formats/NumberText.h"

namespace {

TEST(NumberTextCacheTest, RecurringAndFreshValuesReadAsNumberText) {
    // Scaled samples as channels hold them: few distinct values, many of
    // them 17 significant digits long, recurring in a random order; more
    // distinct values than the table has entries, so texts are pushed out
    // and made again; and values no table keeps.
    std::vector<double> values;
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) values.push_back(static_cast<double>(random() % 3000) * 0.001 - 1.5);
    for (int i = 0; i < 100000; ++i) values.push_back(static_cast<double>(random() % 150000) * 0.1);
    for (int i = 0; i < 1000; ++i) values.push_back(std::ldexp(static_cast<double>(random() % 1000), -1070));
    values.insert(values.end(), {0.0, -0.0, -2.2250738585072014e-308, std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()});
    std::shuffle(values.begin(), values.end(), random);
    cvdr::NumberTextCache cache;
    std::vector<char> out(cvdr::NumberTextCache::kPutBytes);
    for (const double value : values) {
        const std::string text(out.data(), cache.Put(out.data(), value));
        ASSERT_EQ(text, cvdr::NumberText(value));
    }
}

}  // namespace
