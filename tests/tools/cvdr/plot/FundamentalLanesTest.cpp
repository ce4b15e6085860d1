// cvdr plot --rms: a magnitude lane under each analog lane, the line
// frequency only with it.
#include <gtest/gtest.h>

#include "tools/support/CvdrFixtures.h"

namespace {

TEST(FundamentalLanesTest, OneMagnitudeLaneUnderEachAnalogLane) {
    fixture::TempDir folder;
    const std::string record = folder.Write("small.xml", cvdrtest::SmallRecord().Xml());
    const std::string image = folder.Path() + "/rms.svg";
    const struct {
        std::vector<std::string> options;
        int status;
        const char* summary;
    } cases[] = {
        {{"--rms", "--channels", "IL1", "BI1"}, 0, "2 analog lanes, 1 step lane"},
        {{"--rms", "--frequency", "60", "--group-by-unit"}, 0, "4 analog lanes, 2 step lanes"},
        {{"--frequency", "60"}, 2, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"plot", record, "-o", image};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const cvdrtest::Result result = cvdrtest::Cvdr(arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.out.find(c.summary), std::string::npos) << result.out;
    }
}

}  // namespace
