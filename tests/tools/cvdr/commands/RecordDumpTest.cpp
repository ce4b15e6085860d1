// cvdr with the real plug-in on a record written by the fixture writer: the
// keys of the dump format in their order, and the values that follow from
// the record.
#include <gtest/gtest.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::RunCvdr;
using nlohmann::ordered_json;

std::vector<std::string> Keys(const ordered_json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.push_back(it.key());
    return keys;
}

using Keyring = std::vector<std::string>;
const Keyring kCommonKeys = {"name",  "color", "id", "key", "sampleCount", "offset", "hasInvalidRanges",
                             "ranges"};

Keyring With(Keyring keys, const Keyring& more) {
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

class RecordDumpTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_folder.Write("small.xml", cvdrtest::SmallRecord().Xml()); }

    ordered_json Dump(std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"dump", m_path, "--json", "--plugin", cvdrtest::kPlugin};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const cvdrtest::Result result = RunCvdr(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.status == 0 ? ordered_json::parse(result.out) : ordered_json();
    }

    fixture::TempDir m_folder;
    std::string m_path;
};

TEST_F(RecordDumpTest, HasTheKeysOfTheFormatInOrder) {
    const ordered_json dump = Dump();
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(Keys(dump), (Keyring{"format", "file", "language", "sampleCount", "triggerSample",
                                   "sampleInterval", "firstSampleTime", "lastSampleTime", "triggerTime",
                                   "secondaryTime", "timeZone", "analog", "digital", "logical"}));
    EXPECT_EQ(Keys(dump["file"]), (Keyring{"name", "description", "triggerTimeText", "defaultXOffset"}));
    EXPECT_EQ(Keys(dump["triggerTime"]),
              (Keyring{"tm_sec", "tm_min", "tm_hour", "tm_mday", "tm_mon", "tm_year", "tm_wday", "tm_yday",
                       "tm_isdst", "milliseconds"}));
    EXPECT_EQ(Keys(dump["timeZone"]), (Keyring{"valid", "offset", "dstOffset"}));
    ASSERT_EQ(dump["analog"].size(), 3u);
    ASSERT_EQ(dump["digital"].size(), 1u);
    ASSERT_EQ(dump["logical"].size(), 1u);
    for (const auto& channel : dump["analog"]) {
        EXPECT_EQ(Keys(channel), With(kCommonKeys, {"unit", "maxMagnitude", "values", "validity"}));
    }
    EXPECT_EQ(Keys(dump["digital"][0]), With(kCommonKeys, {"transitions"}));
    EXPECT_EQ(Keys(dump["logical"][0]), With(kCommonKeys, {"transitions"}));
}

TEST_F(RecordDumpTest, WritesTheValuesOfTheRecord) {
    const ordered_json dump = Dump();
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(dump["format"], "cvdr-dump/1");
    EXPECT_EQ(dump["file"]["name"], m_path);
    EXPECT_EQ(dump["language"], "ENG");
    EXPECT_EQ(dump["sampleCount"], 8);
    EXPECT_EQ(dump["triggerSample"], 2);
    EXPECT_EQ(dump["firstSampleTime"], -2 * dump["sampleInterval"].get<double>());
    EXPECT_EQ(dump["secondaryTime"], nullptr);
    EXPECT_EQ(dump["timeZone"], ordered_json::parse(R"({"valid": true, "offset": 3600, "dstOffset": 0})"));
    // 2023-11-14 22:13:20.250 UTC plus the zone's hour.
    EXPECT_EQ(dump["triggerTime"], ordered_json::parse(R"({"tm_sec": 20, "tm_min": 13, "tm_hour": 23,
        "tm_mday": 14, "tm_mon": 10, "tm_year": 123, "tm_wday": 2, "tm_yday": 317, "tm_isdst": 0,
        "milliseconds": 250})"));

    const ordered_json& current = dump["analog"][0];
    EXPECT_EQ(current["unit"], "A");
    EXPECT_EQ(current["color"], 0x0000FF);
    EXPECT_EQ(current["validity"], "11100111");
    EXPECT_EQ(current["ranges"], ordered_json::parse("[[true, 0], [false, 3], [true, 5]]"));
    EXPECT_EQ(current["values"],
              ordered_json::parse("[1, 2, -3.5, 0, 0, 5, 0.30000000000000004, 0.7000000000000001]"));
    EXPECT_EQ(dump["analog"][1]["values"], ordered_json::parse("[-5, 0, 5, 10, -10, 3, 1, 2]"));
    EXPECT_EQ(dump["digital"][0]["transitions"], ordered_json::parse("[[1, 0], [2, 3]]"));
    EXPECT_EQ(dump["digital"][0]["color"], 0x800000);
    EXPECT_EQ(dump["logical"][0]["transitions"],
              ordered_json::parse(R"([["2", 0], ["3", 1], ["", 4], ["6", 6]])"));
    EXPECT_EQ(dump["logical"][0]["hasInvalidRanges"], true);
}

TEST_F(RecordDumpTest, NoSamplesDropsExactlyValuesAndValidity) {
    ordered_json full = Dump();
    const ordered_json lean = Dump({"--no-samples"});
    ASSERT_TRUE(full.is_object());
    for (auto& channel : full["analog"]) {
        channel.erase("values");
        channel.erase("validity");
    }
    EXPECT_EQ(lean.dump(), full.dump());
}

// The blank-separated fields of the lines of `text` that start with `kind`.
std::vector<Keyring> Rows(const std::string& text, const std::string& kind) {
    std::vector<Keyring> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Keyring row{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
        if (!row.empty() && row[0] == kind) rows.push_back(row);
    }
    return rows;
}

TEST_F(RecordDumpTest, InfoShowsOneRowPerChannel) {
    const ordered_json dump = Dump();
    const cvdrtest::Result info = RunCvdr({"info", m_path, "--plugin", cvdrtest::kPlugin});
    ASSERT_EQ(info.status, 0) << info.err;
    const auto name = [&](const char* kind, int index) {
        return dump[kind][index]["name"].get<std::string>();
    };
    EXPECT_EQ(Rows(info.out, "analog"),
              (std::vector<Keyring>{{"analog", "0", name("analog", 0), "A", "101", "IL1", "#FF0000", "1"},
                                    {"analog", "1", name("analog", 1), "-", "102", "VN", "#32B41B", "0"},
                                    {"analog", "2", name("analog", 2), "-", "103", "K", "#65E725", "0"}}));
    EXPECT_EQ(Rows(info.out, "digital"),
              (std::vector<Keyring>{{"digital", "0", name("digital", 0), "-", "10", "BI1", "#000080", "2"}}));
    EXPECT_EQ(Rows(info.out, "logical"),
              (std::vector<Keyring>{{"logical", "0", name("logical", 0), "-", "30", "LS1", "#000080", "4"}}));
    EXPECT_NE(info.out.find("time zone:        valid, offset 3600 s"), std::string::npos) << info.out;
}

}  // namespace
