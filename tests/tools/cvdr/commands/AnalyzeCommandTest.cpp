// cvdr analyze with the real plug-in: the JSON document's shape, the CSV
// table over a folder, the options and their misuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tools/support/CvdrFixtures.h"

namespace {

using nlohmann::ordered_json;

std::vector<std::string> Keys(const ordered_json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.push_back(it.key());
    return keys;
}

class AnalyzeCommandTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_folder.Write("small.xml", cvdrtest::SmallRecord().Xml()); }

    cvdrtest::Result Analyze(std::vector<std::string> extra) {
        extra.insert(extra.begin(), {"analyze", m_path});
        return cvdrtest::Cvdr(extra);
    }

    fixture::TempDir m_folder;
    std::string m_path;
};

TEST_F(AnalyzeCommandTest, JsonHasTheFormatsFieldsInOrder) {
    const cvdrtest::Result result = Analyze({"--json", "--at", "-1", "--at", "4", "--group", "IL1,VN,K"});
    ASSERT_EQ(result.status, 0) << result.err;
    const ordered_json document = ordered_json::parse(result.out);
    using Keyring = std::vector<std::string>;
    EXPECT_EQ(Keys(document),
              (Keyring{"format", "file", "description", "triggerTimeText", "sampleCount", "sampleInterval",
                       "frequency", "cycleSamples", "times_ms", "analog", "groups", "events"}));
    EXPECT_EQ(document["format"], "cvdr-analysis/1");
    EXPECT_EQ(document["times_ms"], ordered_json::parse("[-1, 4]"));
    const ordered_json& current = document["analog"][0];
    EXPECT_EQ(Keys(current), (Keyring{"name", "unit", "samples", "min", "max", "peak", "rms", "phasors"}));
    EXPECT_EQ(current["peak"], ordered_json::parse(R"({"value": 5, "time_ms": 3})"));
    EXPECT_EQ(current["phasors"], ordered_json::parse("[null, null]"));  // eight samples hold no cycle
    EXPECT_EQ(document["groups"], ordered_json::parse(R"([{"channels": ["[IL1]", "[VN]", "[K]"],
                                                           "components": [null, null]}])"));
    EXPECT_EQ(document["events"][1],
              ordered_json::parse(R"({"time_ms": 1, "channel": "[BI1]", "state": "high"})"));
}

TEST_F(AnalyzeCommandTest, ReportAndCsvOverAFolder) {
    m_folder.Write("copy.xml", cvdrtest::SmallRecord().Xml());
    const cvdrtest::Result csv = cvdrtest::Cvdr({"analyze", m_folder.Path(), "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 1 + 2 * 3);  // header, 2 records x 3 channels
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")),
              "file,trigger time,channel,unit,samples,min,max,peak,peak time [ms],rms,magnitude at 0 ms,"
              "angle at 0 ms [deg],magnitude at 20 ms,angle at 20 ms [deg]");
    const cvdrtest::Result report = Analyze({});
    ASSERT_EQ(report.status, 0) << report.err;
    for (const char* part : {"line frequency:  50 Hz, no whole cycle: no phasors", "no three-phase groups",
                             "4          [LS1]    6", "[IL1]    A     -3.5  5    5     3             2.6718"})
        EXPECT_NE(report.out.find(part), std::string::npos) << part << "\n" << report.out;
}

TEST_F(AnalyzeCommandTest, WrongUse) {
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {{{"--group", "IL1,VN"}, 2},
                 {{"--json", "--csv"}, 2},
                 {{"--frequency", "0"}, 2},
                 {{"--group", "IL1,VN,XX"}, 1}};
    for (const auto& c : cases) EXPECT_EQ(Analyze(c.arguments).status, c.status) << c.arguments[0];
}

}  // namespace
