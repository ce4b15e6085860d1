// cvdr export --to comtrade, read back with the tests' own reader: values
// within half a quantisation step of the record's, missing values where
// samples are invalid, status bits, time stamps, and configuration files
// whose every line has exactly its fields.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/TextConversion.h"
#include "tools/support/ComtradeReader.h"
#include "tools/support/CvdrFixtures.h"

namespace {

using comtradetest::Config;
using comtradetest::Sample;
using cvdrtest::Cvdr;

struct Flavour {
    std::string revision;
    std::string data;
    bool combined;
};

// The texts and data of an export, from separate files or a combined one.
comtradetest::Combined ReadExport(const std::string& folder, const std::string& stem, bool combined) {
    using cvdrtest::ReadFile;
    if (combined) return comtradetest::SplitCombined(ReadFile(folder + "/" + stem + ".cff"));
    return {ReadFile(folder + "/" + stem + ".cfg"), ReadFile(folder + "/" + stem + ".hdr"),
            ReadFile(folder + "/" + stem + ".dat"), ""};
}

// Fields per configuration line, so that a comma inside a field shows.
void ExpectFieldCounts(const Config& config) {
    std::vector<size_t> expected = {3, 3};
    expected.insert(expected.end(), config.analogCount, 13);
    expected.insert(expected.end(), config.statusCount, 5);
    expected.insert(expected.end(), {1, 1, 2, 2, 2, 1, 1});
    if (config.station.at(2) == "2013") expected.insert(expected.end(), {2, 2});
    ASSERT_EQ(config.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(config.lines[i].size(), expected[i]) << "line " << i + 1;
}

void ExpectValue(const Config& config, size_t channel, const std::optional<double>& read,
                 const std::optional<double>& expected, size_t sample) {
    const bool representable = expected && (config.dataType == "FLOAT32" || std::isfinite(*expected));
    ASSERT_EQ(read.has_value(), representable) << "channel " << channel << " sample " << sample;
    if (!representable) return;
    if (config.dataType == "FLOAT32") {
        EXPECT_EQ(*read, static_cast<double>(static_cast<float>(*expected))) << channel << "/" << sample;
    } else {
        EXPECT_NEAR(*read, *expected, config.A(channel) / 2 * (1 + 1e-9)) << channel << "/" << sample;
    }
}

class ComtradeExportTest : public ::testing::TestWithParam<Flavour> {
protected:
    void SetUp() override {
        m_record = m_folder.Write("small.xml", cvdrtest::SmallRecord().Xml());
        const Flavour& flavour = GetParam();
        std::vector<std::string> arguments{"export", m_record,     "--to", "comtrade", "--rev", flavour.revision,
                                           "--data", flavour.data, "-o",   m_folder.Path() + "/out"};
        if (flavour.combined) arguments.push_back("--cff");
        const cvdrtest::Result result = Cvdr(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        m_files = ReadExport(m_folder.Path() + "/out", "small", flavour.combined);
        m_config = comtradetest::ParseConfig(m_files.config);
        m_samples = comtradetest::ReadData(m_config, m_files.data);
    }

    fixture::TempDir m_folder;
    std::string m_record;
    comtradetest::Combined m_files;
    Config m_config;
    std::vector<Sample> m_samples;
};

TEST_P(ComtradeExportTest, ConfigurationDescribesTheRecord) {
    ExpectFieldCounts(m_config);
    EXPECT_EQ(m_config.station, (comtradetest::Fields{"CVR87   V04.10.02", "CVR87", GetParam().revision}));
    EXPECT_EQ(m_config.lines[1], (comtradetest::Fields{"5", "4A", "1D"}));
    const std::vector<std::string> names = {"[IL1]", "[VN]", "[K]", "[LS1]"};
    for (size_t i = 0; i < 4; ++i) {
        const comtradetest::Fields& line = m_config.analog[i];
        EXPECT_EQ(line[0] + line[1] + line[2] + line[3] + line[7], std::to_string(i + 1) + names[i] + "0");
        EXPECT_EQ(line[10] + line[11] + line[12], "11P");
    }
    EXPECT_EQ(m_config.analog[0][4], "A");
    EXPECT_EQ(m_config.status[0], (comtradetest::Fields{"1", "[BI1]", "", "", "0"}));
    EXPECT_EQ(m_config.frequency, 50.0);
    EXPECT_EQ(m_config.sampleRate, 1000.0);
    EXPECT_EQ(m_config.endSample, 8u);
    // Trigger 2023-11-14 22:13:20.250 UTC at sample 3 of 8, local time one hour ahead.
    EXPECT_EQ(m_config.firstTime, "14/11/2023,23:13:20.248000");
    EXPECT_EQ(m_config.triggerTime, "14/11/2023,23:13:20.250000");
    EXPECT_EQ(m_config.dataType, platform::AsciiUpper(GetParam().data));
    if (GetParam().combined) {
        EXPECT_EQ(m_files.dataLine, m_config.dataType == "ASCII" ? "--- file type: DAT ASCII ---"
                                                                 : "--- file type: DAT BINARY: " +
                                                                       std::to_string(m_files.data.size()) + " ---");
    }
    if (GetParam().revision == "2013") {
        EXPECT_EQ(m_config.timeCodes, (comtradetest::Fields{"+1", "+1"}));
        EXPECT_EQ(m_config.timeQuality, (comtradetest::Fields{"F", "0"}));
    }
}

// IL1 with its gap, VN, the constant K and the states of LS1 (unknown at 4 and 5).
TEST_P(ComtradeExportTest, SamplesReadBackAsTheRecordHoldsThem) {
    ASSERT_EQ(m_samples.size(), 8u);
    const std::optional<double> none;
    const std::vector<std::vector<std::optional<double>>> expected = {{1, 2, -3.5, none, none, 5, 0.3, 0.7},
                                                                      {-5, 0, 5, 10, -10, 3, 1, 2},
                                                                      {7, 7, 7, 7, 7, 7, 7, 7},
                                                                      {2, 3, 3, 3, none, none, 6, 6}};
    for (size_t i = 0; i < m_samples.size(); ++i) {
        const Sample& sample = m_samples[i];
        EXPECT_EQ(sample.number, i + 1);
        EXPECT_EQ(sample.timestamp, std::optional<uint32_t>(static_cast<uint32_t>(i * 1000)));
        for (size_t c = 0; c < expected.size(); ++c)
            ExpectValue(m_config, c, sample.values[c], expected[c][i], i);
        EXPECT_EQ(sample.status, std::vector<int>{i >= 3 ? 1 : 0}) << i;  // BI1
    }
}

TEST_P(ComtradeExportTest, IntegerValuesSpanTheWholeRangeAndTheHeaderSaysHowMissingOnesAreWritten) {
    const std::string missing = m_config.dataType == "ASCII"     ? "99999"
                                : m_config.dataType == "BINARY"  ? "-32768"
                                : m_config.dataType == "FLOAT32" ? "NaN"
                                                                 : "-2147483648";
    EXPECT_NE(m_files.header.find("are written as " + missing), std::string::npos) << m_files.header;
    EXPECT_NE(m_files.header.find("Source file: small.xml\r\n"), std::string::npos) << m_files.header;
    EXPECT_EQ(m_files.header.find("status channels (sample numbers"), std::string::npos);  // BI1 is always valid
    if (m_config.dataType == "FLOAT32") {
        EXPECT_EQ(m_config.analog[1][5] + "," + m_config.analog[1][6], "1,0");
        EXPECT_EQ(m_config.analog[1][8] + "," + m_config.analog[1][9], "-10,10");
        return;
    }
    const std::string limit = m_config.dataType == "ASCII"    ? "99998"
                              : m_config.dataType == "BINARY" ? "32767"
                                                              : "2147483647";
    // VN runs from -10 to 10: its extremes are the ends of the range.
    EXPECT_EQ(m_config.analog[1][8], "-" + limit);
    EXPECT_EQ(m_config.analog[1][9], limit);
    EXPECT_EQ(m_samples[4].raw[1], std::optional<int64_t>(-std::stoll(limit)));
    EXPECT_EQ(m_samples[3].raw[1], std::optional<int64_t>(std::stoll(limit)));
    // The constant channel K is written exactly.
    for (const Sample& sample : m_samples) EXPECT_EQ(sample.values[2], std::optional<double>(7.0));
}

INSTANTIATE_TEST_SUITE_P(Flavours, ComtradeExportTest,
                         ::testing::Values(Flavour{"1999", "ascii", false}, Flavour{"1999", "binary", false},
                                           Flavour{"2013", "ascii", false}, Flavour{"2013", "binary", false},
                                           Flavour{"2013", "binary32", false},
                                           Flavour{"2013", "float32", false}, Flavour{"2013", "binary", true},
                                           Flavour{"2013", "ascii", true}));

// The stub's record: values that are not finite, an empty channel, an invalid
// digital run, state texts that are not numbers, no valid time zone and a
// trigger time with a fraction of a millisecond.
TEST(ComtradeStubRecordTest, WritesWhatIntegersCannotHoldAsMissingAndExplainsIt) {
    const fixture::TempDir folder;
    ASSERT_EQ(Cvdr({"export", "stub.rec", "--to", "comtrade", "-o", folder.Path()}, true).status, 0);
    const comtradetest::Combined files = ReadExport(folder.Path(), "stub", false);
    const Config config = comtradetest::ParseConfig(files.config);
    ExpectFieldCounts(config);
    const std::vector<Sample> samples = comtradetest::ReadData(config, files.data);
    ASSERT_EQ(samples.size(), 5u);
    // Stub values 1.5, nan, inf, -inf, 0.1 with validity 10110: infinities are no integers.
    for (size_t i = 0; i < 5; ++i) {
        ExpectValue(config, 0, samples[i].values[0], i == 0 ? std::optional<double>(1.5) : std::nullopt, i);
        EXPECT_FALSE(samples[i].values[1].has_value());  // the channel without samples
        EXPECT_EQ(samples[i].values[2], i == 2 ? std::nullopt : std::optional<double>(i < 2 ? 0.0 : 1.0))
            << i;
    }
    EXPECT_EQ(samples[2].status[0] * 10 + samples[4].status[0], 10);  // high, then invalid
    EXPECT_EQ(config.triggerTime, "03/02/2001,04:05:06.789500");
    EXPECT_EQ(config.firstTime, "03/02/2001,04:05:06.789000");
    EXPECT_EQ(config.timeCodes, (comtradetest::Fields{"0", "0"}));
    for (const char* line : {"  D1 Trip: samples 5 to 5 (0.5 ms to 0.5 ms)\r\n",
                             "  A3 Mode: 0 = \"3\", 1 = \"\xCE\xA9\"\r\n", "gives no time zone"}) {
        EXPECT_NE(files.header.find(line), std::string::npos) << line << "\n" << files.header;
    }
}

// Fields of the small record with commas and a line break in its texts;
// then line frequency, channels and window chosen by options.
TEST(ComtradeFieldTest, CommasNeverSplitAFieldAndOptionsChooseFrequencyChannelsAndWindow) {
    fixture::RecordBuilder builder = cvdrtest::SmallRecord();
    builder.Device("Relay, bay\n1", "V1");
    builder.AddDigital("11", "Trip, L1").AddStateImage("11", "0");
    const fixture::TempDir folder;
    const std::string record = folder.Write("commas.xml", builder.Xml());
    for (const char* revision : {"1999", "2013"}) {
        ASSERT_EQ(
            Cvdr({"export", record, "--to", "comtrade", "--rev", revision, "-o", folder.Path(), "--force"}).status, 0);
        const comtradetest::Combined files = ReadExport(folder.Path(), "commas", false);
        const Config config = comtradetest::ParseConfig(files.config);
        ExpectFieldCounts(config);
        EXPECT_EQ(config.station[0], "Relay; bay 1   V1");
        EXPECT_EQ(config.station[1], "Relay; bay 1");
        ASSERT_EQ(config.statusCount, 2u);
        EXPECT_NE(files.header.find("station name: \"Relay, bay\\n1   V1\" written as \"Relay; bay 1   V1\""),
                  std::string::npos)
            << files.header;
        EXPECT_NE(files.header.find(" channel id: \"[Trip, L1]\" written as \"[Trip; L1]\""),
                  std::string::npos)
            << files.header;
    }
    const std::string out = folder.Path() + "/out";
    ASSERT_EQ(Cvdr({"export", record, "--to", "comtrade", "--frequency", "60", "--channels", "vn,bi*", "--from", "-1",
                    "--to", "2", "-o", out})
                  .status,
              0);
    const Config config = comtradetest::ParseConfig(cvdrtest::ReadFile(out + "/commas.cfg"));
    EXPECT_EQ(config.frequency, 60.0);
    EXPECT_EQ(config.lines[1], (comtradetest::Fields{"2", "1A", "1D"}));
    EXPECT_EQ(config.endSample, 4u);
    EXPECT_EQ(config.firstTime, "14/11/2023,23:13:20.249000");
    EXPECT_EQ(config.triggerTime, "14/11/2023,23:13:20.250000");
    const std::vector<Sample> samples = comtradetest::ReadData(config, cvdrtest::ReadFile(out + "/commas.dat"));
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0].values[0], std::optional<double>(0.0));  // VN from sample 1 on
    EXPECT_EQ(samples[1].status, std::vector<int>{0});
    EXPECT_EQ(samples[2].status, std::vector<int>{1});  // BI1 high from sample 3
}

}  // namespace
