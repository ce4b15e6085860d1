// cvdr plot: valid PNG, SVG and PDF files of the requested size, lanes for
// the chosen channels only, the time window, shading of invalid stretches.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;

// 3000 samples at 1 ms: the trigger at sample 1000; IL1 a sine with samples
// 2000 to 2099 missing, VN a slower sine; BI1 high from the trigger on.
std::string WideRecord(const fixture::TempDir& folder) {
    std::vector<int64_t> current;
    std::vector<int64_t> voltage;
    for (int i = 0; i < 3000; ++i) {
        current.push_back(static_cast<int64_t>(std::lround(1000 * std::sin(i * 0.314))));
        voltage.push_back(static_cast<int64_t>(std::lround(500 * std::sin(i * 0.02))));
    }
    fixture::Analog il1;
    il1.id = "101";
    il1.key = "IL1";
    il1.unit = "A";
    il1.blocks = {{"5000", fixture::Values({current.begin(), current.begin() + 2000})},
                  {"7100", fixture::Values({current.begin() + 2100, current.end()})}};
    fixture::RecordBuilder builder;
    builder.AddAnalog(il1).AddAnalog("102", "VN", voltage, 5000).NumberOfSamples("3000");
    builder.Trigger("1700000000000000", "250000", "6000");
    builder.AddDigital("10", "BI1").AddStateImage("10", "0").AddEventSet("6000", {{"10", "1", "0"}});
    return folder.Write("wide.xml", builder.Xml());
}

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override { m_record = WideRecord(m_folder); }
    cvdrtest::Result Plot(const std::string& output, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"plot", m_record, "-o", m_folder.Path() + "/" + output});
        return Cvdr(options);
    }
    std::string Read(const std::string& output) { return cvdrtest::ReadFile(m_folder.Path() + "/" + output); }

    fixture::TempDir m_folder;
    std::string m_record;
};

TEST_F(PlotTest, WritesTheThreeFormatsAtTheRequestedSize) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "P.PNG"}) {
        const cvdrtest::Result result = Plot(name, {"--size", "640x480"});
        ASSERT_EQ(result.status, 0) << name << result.err;
        EXPECT_EQ(result.out,
                  m_folder.Path() + "/" + name + ": 2 analog lanes, 1 step lane, -1000 ms to 1999 ms\n");
    }
    EXPECT_EQ(Read("p.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(Read("p.svg").find("width=\"640\""), std::string::npos);
    EXPECT_EQ(Read("p.png").substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\xE0", 8));  // width, height
    EXPECT_EQ(Plot("no/such/folder/p.svg").status, 1);
}

TEST_F(PlotTest, DrawsOnlyTheChosenChannels) {
    const cvdrtest::Result chosen = Plot("one.png", {"--channels", "il?"});  // a glob, case ignored
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("1 analog lane, 0 step lanes"), std::string::npos) << chosen.out;
    const cvdrtest::Result grouped = Plot("grouped.png", {"--group-by-unit", "--channels", "[VN],IL1", "BI1"});
    EXPECT_NE(grouped.out.find("2 analog lanes, 1 step lane"), std::string::npos) << grouped.out;
}

// The gap of IL1 lies from 1000 ms to 1099 ms; cairo writes a shade as a fill
// with the shade's opacity.
TEST_F(PlotTest, WindowSelectsTheSamplesAndShadesOnlyInvalidStretchesInIt) {
    const std::string shade = "fill-opacity:0.25";
    ASSERT_EQ(Plot("gap.svg", {"--from", "900", "--to", "1200"}).status, 0);
    EXPECT_NE(Read("gap.svg").find(shade), std::string::npos);
    const cvdrtest::Result before = Plot("before.svg", {"--from", "-50", "--to", "999.5"});
    EXPECT_NE(before.out.find("-50 ms to 999.5 ms"), std::string::npos) << before.out;
    EXPECT_EQ(Read("before.svg").find(shade), std::string::npos);
    const cvdrtest::Result outside = Plot("outside.png", {"--from", "2500", "--to", "3000"});
    EXPECT_EQ(outside.status, 1);
    EXPECT_NE(outside.err.find("no samples between 2500 ms and 3000 ms"), std::string::npos) << outside.err;
}

}  // namespace
