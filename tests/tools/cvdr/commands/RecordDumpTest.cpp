// cvdr dump and info with the real plug-in on a record written by the
// fixture writer: the forms of each agree with each other and with the
// record.
#include <gtest/gtest.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;
using nlohmann::ordered_json;
using Row = std::vector<std::string>;

class RecordDumpTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_folder.Write("small.xml", cvdrtest::SmallRecord().Xml()); }

    std::string Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, m_path);
        const cvdrtest::Result result = Cvdr(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }

    fixture::TempDir m_folder;
    std::string m_path;
};

TEST_F(RecordDumpTest, NoSamplesDropsExactlyValuesAndValidity) {
    ordered_json full = ordered_json::parse(Run({"dump"}));  // JSON without --json too
    EXPECT_EQ(ordered_json::parse(Run({"dump", "--json"})), full);
    const ordered_json lean = ordered_json::parse(Run({"dump", "--json", "--no-samples"}));
    EXPECT_EQ(full["analog"][0]["values"],
              ordered_json::parse("[1, 2, -3.5, 0, 0, 5, 0.30000000000000004, 0.7000000000000001]"));
    for (auto& channel : full["analog"]) {
        channel.erase("values");
        channel.erase("validity");
    }
    EXPECT_EQ(lean.dump(), full.dump());
}

// The blank-separated fields of each line of `text`.
std::vector<Row> Rows(const std::string& text) {
    std::vector<Row> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        rows.emplace_back(std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>());
    }
    return rows;
}

TEST_F(RecordDumpTest, InfoFormsShowTheSameChannels) {
    const std::vector<Row> table = Rows(Run({"info", "--channels"}));
    EXPECT_EQ(table, (std::vector<Row>{{"kind", "index", "name", "unit", "id", "key", "colour", "count"},
                                       {"analog", "0", "[IL1]", "A", "101", "IL1", "#FF0000", "1"},
                                       {"analog", "1", "[VN]", "-", "102", "VN", "#32B41B", "0"},
                                       {"analog", "2", "[K]", "-", "103", "K", "#65E725", "0"},
                                       {"digital", "0", "[BI1]", "-", "10", "BI1", "#000080", "2"},
                                       {"logical", "0", "[LS1]", "-", "30", "LS1", "#000080", "4"}}));
    const std::string text = Run({"info"});
    EXPECT_NE(text.find(Run({"info", "--channels"})), std::string::npos);
    for (const char* line : {"sample interval:  1 ms\n", "time zone:        valid, offset 3600 s, daylight saving 0 s\n",
                             "language slot:    ENG (what the reader reports, always)\n",
                             "names in:         none (named from keys)\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    }
    const ordered_json json = ordered_json::parse(Run({"info", "--json"}));
    EXPECT_EQ(json["sampleCount"], 8);
    EXPECT_EQ(json["namesLanguage"], "none (named from keys)");
    ASSERT_EQ(json["channels"].size(), table.size() - 1);
    for (size_t i = 1; i < table.size(); ++i) {
        const ordered_json& channel = json["channels"][i - 1];
        EXPECT_EQ(channel["name"], table[i][2]);
        EXPECT_EQ(channel["id"], std::stoi(table[i][4]));
        EXPECT_EQ(channel["count"], std::stoi(table[i][7]));
    }
}

}  // namespace
