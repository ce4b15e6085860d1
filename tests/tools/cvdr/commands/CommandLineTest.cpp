// Exit statuses and error lines of cvdr: usage errors, records and plug-ins
// that cannot be loaded, output that cannot be written, plug-in lookup.
#include <gtest/gtest.h>

#include "support/RecordFixture.h"
#include "tools/support/CvdrProcess.h"

namespace {

using cvdrtest::CvdrErrorLines;
using cvdrtest::RunCvdr;

std::string WriteRecord(const fixture::TempDir& folder) {
    fixture::RecordBuilder builder;
    builder.AddAnalog("1", "IL1", {1, 2, 3}, 1099);
    return folder.Write("record.xml", builder.Xml());
}

TEST(CvdrCommandLineTest, MissingRecordFileGivesStatusOneAndOneLineNamingIt) {
    const fixture::TempDir folder;
    const std::string missing = folder.Path() + "/missing.xml";
    const std::vector<std::vector<std::string>> commands = {
        {"dump", missing, "--json", "--plugin", cvdrtest::kPlugin},
        {"info", missing, "--plugin", cvdrtest::kPlugin},
    };
    for (const auto& arguments : commands) {
        const cvdrtest::Result result = RunCvdr(arguments);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_EQ(result.out, "");
        const std::vector<std::string> lines = CvdrErrorLines(result.err);
        ASSERT_EQ(lines.size(), 1u) << result.err;
        EXPECT_EQ(lines[0], "cvdr: " + missing + ": cannot load the record: No such file or directory");
    }
}

TEST(CvdrCommandLineTest, WrongUsageGivesStatusTwoAndHelpGivesZero) {
    const std::vector<std::vector<std::string>> wrong = {
        {},                                      // no command
        {"convert", "x.xml"},                    // unknown command
        {"dump", "x.xml"},                       // --json missing
        {"dump", "--json"},                      // file missing
        {"dump", "x.xml", "--json", "--bogus"},  // unknown option
        {"info", "x.xml", "--json"},             // option of another command
        {"info", "x.xml", "--lang"},             // option without its value
        {"info", "x.xml", "y.xml"},              // one file only
    };
    for (const auto& arguments : wrong) {
        const cvdrtest::Result result = RunCvdr(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments) << "\n" << result.err;
        EXPECT_FALSE(result.err.empty());
    }
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--help"}, {"dump", "--help"}}) {
        const cvdrtest::Result result = RunCvdr(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("Usage:"), std::string::npos) << result.out;
    }
}

TEST(CvdrCommandLineTest, PluginThatIsNoLibraryGivesStatusOne) {
    const fixture::TempDir folder;
    const std::string record = WriteRecord(folder);
    const std::string fake = folder.Write("libfake.so", "not a shared library\n");

    cvdrtest::Result result = RunCvdr({"dump", record, "--json", "--plugin", fake});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(CvdrErrorLines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("cvdr: cannot load the plug-in: " + fake + ": ", 0), 0u) << result.err;

    // A library without the two exports is refused as well.
    result = RunCvdr({"info", record, "--plugin", "libm.so.6"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "cvdr: the plug-in libm.so.6 lacks the reader exports\n");
}

TEST(CvdrCommandLineTest, FindsThePluginByOptionEnvironmentOrBesideItself) {
    const fixture::TempDir folder;
    const std::string record = WriteRecord(folder);
    const std::string fake = folder.Write("libfake.so", "junk");
    cvdrtest::RunSettings badEnvironment;
    badEnvironment.environment["CVDR_PLUGIN"] = fake;

    EXPECT_EQ(RunCvdr({"info", record}, badEnvironment).status, 1);  // the environment is used
    EXPECT_EQ(RunCvdr({"info", record, "--plugin", cvdrtest::kPlugin}, badEnvironment).status, 0);
    EXPECT_EQ(RunCvdr({"--plugin", cvdrtest::kPlugin, "info", record}, badEnvironment).status, 0);
    const cvdrtest::Result beside = RunCvdr({"info", record});  // libdr_mvq4.so next to cvdr
    EXPECT_EQ(beside.status, 0) << beside.err;
    // An empty option string is passed on, not refused as a missing value.
    for (const char* empty : {"--options=", "--options"}) {
        std::vector<std::string> arguments{"info", record, empty};
        if (std::string(empty) == "--options") arguments.emplace_back();
        EXPECT_EQ(RunCvdr(arguments).status, 0) << empty;
    }
}

TEST(CvdrCommandLineTest, OutputThatCannotBeWrittenGivesStatusOne) {
    const fixture::TempDir folder;
    const std::string record = WriteRecord(folder);
    cvdrtest::RunSettings full;
    full.stdoutPath = "/dev/full";
    for (const char* command : {"dump", "info"}) {
        std::vector<std::string> arguments{command, record, "--plugin", cvdrtest::kPlugin};
        if (std::string(command) == "dump") arguments.push_back("--json");
        const cvdrtest::Result result = RunCvdr(arguments, full);
        EXPECT_EQ(result.status, 1) << command << ": " << result.err;
        EXPECT_EQ(result.err, "cvdr: cannot write to standard output\n");
    }
}

}  // namespace
