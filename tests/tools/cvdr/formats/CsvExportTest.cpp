// cvdr export --to csv, parsed by the RFC 4180 rules and compared cell by
// cell with the values the record holds.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;
using Row = std::vector<std::string>;

// Quoted fields may hold commas, doubled quotes and line ends; every record
// ends with CR LF.
std::vector<Row> ParseCsv(const std::string& text) {
    std::vector<Row> rows(1);
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && quoted && text.compare(i, 2, "\"\"") == 0) {
            field += text[i++];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (quoted || (c != ',' && c != '\r' && c != '\n')) {
            field += c;
        } else if (c == ',' || text.compare(i, 2, "\r\n") == 0) {
            rows.back().push_back(field);
            field.clear();
            if (c == '\r' && ++i) rows.emplace_back();
        } else {
            throw std::runtime_error("bare line end outside quotes");
        }
    }
    if (!rows.back().empty() || !field.empty() || quoted) throw std::runtime_error("last record not ended by CR LF");
    rows.pop_back();
    return rows;
}

// Exports `record` and reads back the file named `stem`.csv.
std::vector<Row> Export(const std::string& record, const std::string& stem, bool stub = false) {
    const fixture::TempDir folder;
    const cvdrtest::Result result = Cvdr({"export", record, "--to", "csv", "-o", folder.Path()}, stub);
    EXPECT_EQ(result.status, 0) << result.err;
    return ParseCsv(cvdrtest::ReadFile(folder.Path() + "/" + stem + ".csv"));
}

TEST(CsvExportTest, EveryCellHoldsTheRecordsValue) {
    fixture::RecordBuilder builder = cvdrtest::SmallRecord();
    builder.AddDigital("12", "Say \"hi\", twice").AddStateImage("12", "1");
    const fixture::TempDir folder;
    const std::string record = folder.Write("small.xml", builder.Xml());
    const std::vector<Row> rows = Export(record, "small");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], (Row{"time [ms]", "[IL1] [A]", "[VN]", "[K]", "[LS1]", "[BI1]", "[Say \"hi\", twice]"}));
    // Values in their shortest form that reads back bit for bit; none where invalid or unknown.
    const std::vector<Row> expected = {{"-2", "1", "-5", "7", "2", "0", "1"},
                                       {"-1", "2", "0", "7", "3", "0", "1"},
                                       {"0", "-3.5", "5", "7", "3", "0", "1"},
                                       {"1", "", "10", "7", "3", "1", "1"},
                                       {"2", "", "-10", "7", "", "1", "1"},
                                       {"3", "5", "3", "7", "", "1", "1"},
                                       {"4", "0.30000000000000004", "1", "7", "6", "1", "1"},
                                       {"5", "0.7000000000000001", "2", "7", "6", "1", "1"}};
    EXPECT_EQ(std::vector<Row>(rows.begin() + 1, rows.end()), expected);
}

TEST(CsvExportTest, StubRecordKeepsTextsAndNonFiniteValues) {
    const std::vector<Row> rows = Export("stub.rec", "stub", true);
    ASSERT_EQ(rows.size(), 6u);
    // time, I\xFFL1 [kA], the empty channel, Mode, Trip
    EXPECT_EQ(rows[0], (Row{"time [ms]", "I\xEF\xBF\xBDL1 [kA]", "", "Mode", "Trip"}));
    EXPECT_EQ(rows[1], (Row{"-0.5", "1.5", "", "3", "0"}));
    EXPECT_EQ(rows[2], (Row{"-0.25", "", "", "3", "0"}));
    EXPECT_EQ(rows[3], (Row{"0", "inf", "", "", "1"}));
    EXPECT_EQ(rows[4], (Row{"0.25", "-inf", "", "\xCE\xA9", "1"}));
    EXPECT_EQ(rows[5], (Row{"0.5", "", "", "\xCE\xA9", ""}));
}

}  // namespace
