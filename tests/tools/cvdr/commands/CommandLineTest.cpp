// Exit statuses and error lines of cvdr: usage errors, records and plug-ins
// that cannot be loaded and why, output that cannot be written, plug-in lookup.
#include <gtest/gtest.h>

#include "support/ContainerFixture.h"
#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::CvdrErrorLines;
using cvdrtest::RunCvdr;

std::string WriteRecord(const fixture::TempDir& folder) {
    fixture::RecordBuilder builder;
    builder.AddAnalog("1", "IL1", {1, 2, 3}, 1099);
    return folder.Write("record.xml", builder.Xml());
}

TEST(CvdrCommandLineTest, FailedLoadSaysWhyInOneLine) {
    const fixture::TempDir folder;
    fixture::RecordContainerBuilder container;
    container.RecorderData(fixture::RecordBuilder()).MetaAttribute("checksumContainerData", std::string(32, 'f'));
    const struct {
        std::string file;
        std::string reason;
    } cases[] = {
        {folder.Path() + "/missing.xml", "No such file or directory"},
        {folder.Write("empty.xml", ""), "empty file"},
        {folder.Write("cut.xml", "<?xml version=\"1.0\"?>\n<DistFile>\n  <DistHeader>"),
         "XML error at line 3, column 14: Start-end tags mismatch"},
        {folder.Write("page.xml", "<html/>"), "not a record (root element is html, expected DistFile)"},
        {folder.Write("bad.zip", "PK\x03\x04 nothing more"), "not a valid ZIP archive"},
        {container.Write(folder, "damaged.zip"),
         "container check failed: OpenContainer fails / Internal error in Corvane Container: / Invalid "
         "container data checksum!"},
        {folder.Write("nameless.xml", fixture::RecordBuilder().Remove("DistHeader/Common/Device", "Name").Xml()),
         "no device name"},
        {folder.Write("traceless.xml", fixture::RecordBuilder().Xml()), "no sample count"},
        {folder.Write("huge.xml", fixture::RecordBuilder().AddAnalog("1", "I", {1}, 1).NumberOfSamples("70000000").Xml()),
         "sample count 70000000 is over the most a record may declare, 67108864"},
    };
    for (const auto& wrong : cases) {
        for (const char* command : {"dump", "info"}) {
            const cvdrtest::Result result = cvdrtest::Cvdr({command, wrong.file});
            EXPECT_EQ(result.status, 1) << result.err;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(CvdrErrorLines(result.err),
                      std::vector<std::string>{"cvdr: " + wrong.file + ": cannot load the record: " + wrong.reason});
        }
    }
}

TEST(CvdrCommandLineTest, WrongUsageGivesStatusTwoAndOneLine) {
    const std::string commands = " (commands: info, dump, export, plot, analyze, view, config, check, models)";
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{}, "a command is missing" + commands},
        {{"bogus", "x.xml"}, "unknown command \"bogus\"" + commands},
        {{"--plugin", "p.so", "bogus"}, "unknown command \"bogus\"" + commands},
        {{"dump", "x.xml", "--bogus"}, "unknown option or extra argument --bogus for dump (see its --help)"},
        {{"info", "x.xml", "y.xml"}, "unknown option or extra argument y.xml for info (see its --help)"},
        {{"dump", "--json"}, ""},
        {{"info", "x.xml", "--lang"}, ""},
        {{"info", "x.xml", "--json", "--channels"}, "info: give --json or --channels, not both"},
        {{"export", "x", "-o", "o", "--to", "comtrade", "--frequency", "0"},
         "--frequency: expected a frequency in Hz above 0 and at most 1000, got 0"},
        {{"export", "x", "-o", "o", "--to", "comtrade", "--to", "csv"}, "--to: give one output format, comtrade or csv"},
        {{"export", "x", "-o", "o", "--to", "5"}, "--to: the output format is missing (comtrade or csv)"},
        {{"export", "x", "-o", "o", "--to", "csv", "--from", "5", "--to", "5"}, "--from must be less than --to"},
        {{"export", "x", "-o", "o", "--to", "csv", "--rev", "2013"}, ""},
        {{"export", "x", "-o", "o", "--to", "comtrade", "--rev", "1999", "--data", "float32"}, ""},
        {{"export", "x", "-o", "o", "--to", "comtrade", "--data", "float64"}, ""},
        {{"plot", "x", "-o", "p.png", "--size", "50x480"}, ""},
        {{"plot", "x", "-o", "p.jpg"}, ""},
        {{"config", "set", "colour", "red"}, ""},
        {{"config", "set", "reserve", "YES\nNO"}, ""},
    };
    for (const auto& [arguments, message] : wrong) {
        const cvdrtest::Result result = RunCvdr(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments) << "\n" << result.err;
        const std::vector<std::string> lines = CvdrErrorLines(result.err);
        ASSERT_EQ(lines.size(), 1u) << result.err;
        EXPECT_EQ(lines[0].rfind("cvdr: " + message, 0), 0u) << lines[0];
        EXPECT_EQ(result.out, "");
    }
    const cvdrtest::Result help = RunCvdr({"dump", "--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("Usage:"), std::string::npos) << help.out;
}

// The plug-in comes from --plugin, else CVDR_PLUGIN, else beside cvdr; one
// that is no library, or lacks the reader exports, gives status 1.
TEST(CvdrCommandLineTest, FindsThePluginAndRefusesWhatIsNone) {
    const fixture::TempDir folder;
    const std::string record = WriteRecord(folder);
    const std::string fake = folder.Write("libfake.so", "not a shared library\n");
    const cvdrtest::RunSettings badEnvironment{{{"CVDR_PLUGIN", fake}}, ""};
    cvdrtest::Result result = RunCvdr({"info", record}, badEnvironment);
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(CvdrErrorLines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("cvdr: cannot load the plug-in: " + fake + ": ", 0), 0u) << result.err;
    result = RunCvdr({"info", record, "--plugin", "libm.so.6"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "cvdr: the plug-in libm.so.6 lacks the reader exports\n");
    EXPECT_EQ(RunCvdr({"--plugin", cvdrtest::kPlugin, "info", record}, badEnvironment).status, 0);
    result = RunCvdr({"info", record});  // libdr_mvq4.so next to cvdr
    EXPECT_EQ(result.status, 0) << result.err;
    const cvdrtest::Result version = RunCvdr({"--version", "--plugin", cvdrtest::kPlugin});
    const std::string cvdrVersion = version.out.substr(5, version.out.find('\n') - 5);  // "cvdr X.Y.Z"
    EXPECT_EQ(version.out.find("plug-in: " + std::string(cvdrtest::kPlugin) + " (loads; version " + cvdrVersion + ")"),
              cvdrVersion.size() + 6)
        << version.out;
    // An empty option string is passed on, not refused as a missing value.
    EXPECT_EQ(RunCvdr({"info", record, "--options="}).status, 0);
    EXPECT_EQ(RunCvdr({"info", record, "--options", ""}).status, 0);
}

TEST(CvdrCommandLineTest, OutputThatCannotBeWrittenGivesStatusOne) {
    const fixture::TempDir folder;
    const std::string record = WriteRecord(folder);
    const cvdrtest::Result result = RunCvdr({"dump", record, "--plugin", cvdrtest::kPlugin}, {{}, "/dev/full"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.err, "cvdr: cannot write to standard output\n");
}

}  // namespace
