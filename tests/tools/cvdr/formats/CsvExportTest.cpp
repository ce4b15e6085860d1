// cvdr export --to csv, parsed by the RFC 4180 rules and compared cell by
// cell with what the plug-in reports.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/support/ComtradeReader.h"
#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;
using Row = std::vector<std::string>;

// Quoted fields may hold commas, doubled quotes and line ends; every record
// ends with CR LF.
std::vector<Row> ParseCsv(const std::string& text) {
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            ++i;
        } else if (c == '\n' || c == '\r') {
            throw std::runtime_error("bare line end outside quotes");
        } else {
            field += c;
        }
    }
    if (!row.empty() || !field.empty() || quoted) throw std::runtime_error("last record not ended by CR LF");
    return rows;
}

std::vector<Row> Export(const std::string& record, bool stub = false) {
    const fixture::TempDir folder;
    const cvdrtest::Result result = Cvdr({"export", record, "--to", "csv", "-o", folder.Path()}, stub);
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string stem = record.substr(record.rfind('/') + 1, record.rfind('.') - record.rfind('/') - 1);
    return ParseCsv(comtradetest::ReadFile(folder.Path() + "/" + stem + ".csv"));
}

TEST(CsvExportTest, EveryCellIsThePluginsValue) {
    fixture::RecordBuilder builder = cvdrtest::SmallRecord();
    builder.AddDigital("12", "Say \"hi\", twice").AddStateImage("12", "1");
    const fixture::TempDir folder;
    const std::string record = folder.Write("small.xml", builder.Xml());
    const host::Record reference = cvdrtest::Load(record);
    const std::vector<Row> rows = Export(record);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], (Row{"time [ms]", reference.analog[0].name + " [A]", reference.analog[1].name,
                            reference.analog[2].name, reference.logical[0].name, reference.digital[0].name,
                            reference.digital[1].name}));
    EXPECT_EQ(rows[0][6], "[Say \"hi\", twice]");
    std::vector<std::vector<std::optional<double>>> analog;
    for (const auto& channel : reference.analog) analog.push_back(cvdrtest::AnalogValues(channel));
    const std::vector<std::string> logical = cvdrtest::LogicalTexts(reference.logical[0], 8);
    for (size_t i = 0; i < 8; ++i) {
        const Row& row = rows[i + 1];
        ASSERT_EQ(row.size(), 7u);
        EXPECT_EQ(std::stod(row[0]), static_cast<double>(i) - 2.0);
        for (size_t c = 0; c < 3; ++c) {
            if (analog[c][i]) {
                EXPECT_EQ(std::stod(row[1 + c]), *analog[c][i]) << i << "/" << c;  // round trip, bit for bit
            } else {
                EXPECT_EQ(row[1 + c], "") << i << "/" << c;
            }
        }
        EXPECT_EQ(row[4], logical[i]);
        for (size_t d = 0; d < 2; ++d) {
            const int state = cvdrtest::DigitalStates(reference.digital[d], 8)[i];
            EXPECT_EQ(row[5 + d], state == 2 ? "1" : state == 1 ? "0" : "") << i << "/" << d;
        }
    }
    EXPECT_EQ(rows[2][1], "2");  // 20 raw times 0.1, in its shortest form
    EXPECT_EQ(rows[7][1], "0.30000000000000004");
}

TEST(CsvExportTest, StubRecordKeepsTextsAndNonFiniteValues) {
    const std::vector<Row> rows = Export("stub.rec", true);
    ASSERT_EQ(rows.size(), 6u);
    // time, I\xFFL1 [kA], the empty channel, Mode, Trip
    EXPECT_EQ(rows[0], (Row{"time [ms]", "I\xEF\xBF\xBDL1 [kA]", "", "Mode", "Trip"}));
    const Row current = {"1.5", "", "inf", "-inf", ""};
    const Row times = {"-0.5", "-0.25", "0", "0.25", "0.5"};
    const Row mode = {"3", "3", "", "\xCE\xA9", "\xCE\xA9"};
    const Row trip = {"0", "0", "1", "1", ""};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[i + 1], (Row{times[i], current[i], "", mode[i], trip[i]})) << i;
    }
}

}  // namespace
