// The host library against the stand-in plug-in (support/StubPlugin.cpp),
// whose record is known to the last value, seen through cvdr: everything the
// interfaces report arrives (the whole dump is compared with the expected
// document, key order included), texts pass through unchanged, and the
// reader goes back to the free call exactly once.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <iterator>

#include "support/RecordFixture.h"
#include "tools/support/CvdrProcess.h"

namespace {

using cvdrtest::RunCvdr;
using nlohmann::ordered_json;

// The stub's record as cvdr must dump it. "file"/"name", "file"/"description"
// and "language" echo the path, options and language that were passed.
ordered_json ExpectedStubDump(const std::string& path, const std::string& options,
                              const std::string& language) {
    ordered_json expected = ordered_json::parse(R"json({
      "format": "cvdr-dump/1",
      "file": {"name": "", "description": "", "triggerTimeText": "2001-02-03  04:05:06.789", "defaultXOffset": -4},
      "language": "",
      "sampleCount": 5, "triggerSample": 2, "sampleInterval": 0.25,
      "firstSampleTime": -0.5, "lastSampleTime": 0.5,
      "triggerTime": {"tm_sec": 6, "tm_min": 5, "tm_hour": 4, "tm_mday": 3, "tm_mon": 1, "tm_year": 101,
                      "tm_wday": 6, "tm_yday": 33, "tm_isdst": 0, "milliseconds": 789.5},
      "secondaryTime": {"tm_sec": 7, "tm_min": 5, "tm_hour": 4, "tm_mday": 3, "tm_mon": 1, "tm_year": 101,
                        "tm_wday": 6, "tm_yday": 33, "tm_isdst": -1, "milliseconds": 0.1},
      "timeZone": {"valid": false, "offset": -3600, "dstOffset": 1800},
      "analog": [
        {"name": "I\ufffdL1", "color": 20145817, "id": -7, "key": "k\"ey\\", "sampleCount": 5, "offset": 0.5,
         "hasInvalidRanges": true, "ranges": [[true, 0], [false, 1], [true, 2], [false, 4]],
         "unit": "kA", "maxMagnitude": "inf", "values": [1.5, "nan", "inf", "-inf", 0.1], "validity": "10110"},
        {"name": "", "color": 0, "id": 0, "key": "", "sampleCount": 0, "offset": 0,
         "hasInvalidRanges": false, "ranges": [], "unit": "", "maxMagnitude": 0, "values": [], "validity": ""}
      ],
      "digital": [
        {"name": "Trip", "color": 8388608, "id": 3, "key": "BI", "sampleCount": 5, "offset": 0,
         "hasInvalidRanges": true, "ranges": [[true, 0], [false, 4]], "transitions": [[1, 0], [2, 2], [0, 4]]}
      ],
      "logical": [
        {"name": "Mode", "color": 8388608, "id": 4, "key": "LS", "sampleCount": 5, "offset": 0,
         "hasInvalidRanges": true, "ranges": [[true, 0], [false, 2], [true, 3]],
         "transitions": [["3", 0], ["", 2], ["\u03a9", 3]]}
      ]
    })json");
    expected["file"]["name"] = path;
    expected["file"]["description"] = options;
    expected["language"] = language;
    return expected;
}

class StubPluginTest : public ::testing::Test {
protected:
    cvdrtest::Result Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--plugin", cvdrtest::kStubPlugin});
        return RunCvdr(arguments, {{{"CVDR_STUB_LOG", m_log}}, ""});
    }
    std::string FreeLog() const {
        std::ifstream in(m_log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fixture::TempDir m_folder;
    const std::string m_log = m_folder.Path() + "/free.log";
};

TEST_F(StubPluginTest, DumpFollowsTheFormatToTheLastValue) {
    // Path and options carry characters of two, three and four UTF-8 bytes;
    // the stub re-encodes what it received, so any loss shows.
    const std::string path = m_folder.Path() + "/St\xC3\xB6rung \xE2\x82\xAC\xF0\x9D\x84\x9E.rec";
    const std::string options = "-DeviceModelFolder:\"C:\\M\xC3\xBC\" /x";
    const cvdrtest::Result result = Run({"dump", path, "--json", "--lang", "deu", "--options=" + options});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.back(), '\n');
    ordered_json expected = ExpectedStubDump(path, options, "deu");
    EXPECT_EQ(ordered_json::parse(result.out).dump(2), expected.dump(2));
    EXPECT_EQ(FreeLog(), "free\n");
    // Without --json the dump is JSON too; --no-samples drops exactly the values and their validity.
    const cvdrtest::Result lean = Run({"dump", path, "--no-samples", "--lang", "deu", "--options=" + options});
    for (auto& channel : expected["analog"]) {
        channel.erase("values");
        channel.erase("validity");
    }
    EXPECT_EQ(ordered_json::parse(lean.out).dump(2), expected.dump(2));
}

TEST_F(StubPluginTest, InfoListsSummaryAndOneRowPerChannel) {
    // Without --lang and --options the stub echoes "ENG" and an empty description.
    // A byte that is not UTF-8 is shown as U+FFFD, as in the dump.
    const cvdrtest::Result result = Run({"info", "plain.rec"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "file:             plain.rec\n"
              "description:\n"
              "trigger time:     2001-02-03  04:05:06.789\n"
              "sample interval:  0.25 ms\n"
              "sample count:     5\n"
              "trigger sample:   2\n"
              "time zone:        not valid, offset -3600 s, daylight saving 1800 s\n"
              "language slot:    ENG (what the reader reports, always)\n"
              "names in:         none (named from keys)\n"
              "\n"
              "kind     index  name  unit  id  key    colour   count\n"
              "analog   0      I\xEF\xBF\xBDL1  kA    -7  k\"ey\\  #996633  2\n"
              "analog   1      -     -     0   -      #000000  0\n"
              "digital  0      Trip  -     3   BI     #000080  3\n"
              "logical  0      Mode  -     4   LS     #000080  3\n");
    EXPECT_EQ(FreeLog(), "free\n");
    EXPECT_EQ(Run({"info", "plain.rec", "--channels"}).out, result.out.substr(result.out.find("kind ")));
    const ordered_json json = ordered_json::parse(Run({"info", "plain.rec", "--json"}).out);
    EXPECT_EQ(json["sampleCount"], 5);
    EXPECT_EQ(json["channels"][0]["id"], -7);
    EXPECT_EQ(json["channels"][3]["name"], "Mode");
}

TEST_F(StubPluginTest, RefusedRecordExitsWithOneLineAndNothingToFree) {
    const cvdrtest::Result result = Run({"dump", "a/refuse.rec", "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "cvdr: a/refuse.rec: cannot load the record: No such file or directory\n");
    EXPECT_EQ(FreeLog(), "");
}

}  // namespace
