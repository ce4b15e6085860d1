// Commands over many records: folders searched recursively for records by
// content, a failing record reported in one line without stopping the run,
// outputs mirroring the input folders and never replaced without --force,
// the summary line, and the progress bar on a terminal only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tools/support/ComtradeReader.h"
#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;
namespace fs = std::filesystem;

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string record = cvdrtest::SmallRecord().Xml();
        m_good = m_folder.Write("in/good.xml", record);
        m_folder.Write("in/sub/deeper/renamed.data", "\xEF\xBB\xBF \r\n" + record);  // a record by its content
        m_folder.Write("in/notes.txt", "<p>not a record</p>\n");
        m_folder.Write("in/sub/image.bin", std::string("\x00\x01\x02", 3));
        m_broken = m_folder.Write("in/sub/broken.xml", "<?xml version=\"1.0\"?>\n<DistFile><DistHeader>");
    }
    cvdrtest::Result Export(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "export");
        arguments.insert(arguments.end(), {"-o", m_folder.Path() + "/out"});
        return Cvdr(arguments);
    }
    std::string Out(const std::string& name) const { return m_folder.Path() + "/out/" + name; }
    std::vector<std::string> Written() const {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path() + "/out"))
            if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), m_folder.Path() + "/out"));
        std::sort(files.begin(), files.end());
        return files;
    }

    fixture::TempDir m_folder;
    std::string m_good;
    std::string m_broken;
};

TEST_F(BatchTest, FolderRunMirrorsFoldersGoesOnAfterAFailureAndSumsUp) {
    const cvdrtest::Result result = Export({m_folder.Path() + "/in", "--to", "csv", "--verbose"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(cvdrtest::CvdrErrorLines(result.err),
              std::vector<std::string>{"cvdr: " + m_broken +
                                       ": cannot load the record: XML error at line 2, column 22: Start-end tags "
                                       "mismatch"});
    EXPECT_EQ(Written(), (std::vector<std::string>{"good.csv", "sub/deeper/renamed.csv"}));
    EXPECT_EQ(result.out, "skipped (not a record): " + m_folder.Path() + "/in/notes.txt\nskipped (not a record): " +
                              m_folder.Path() + "/in/sub/image.bin\n5 records: 2 written, 1 failed, 2 skipped (not records)\n");
    EXPECT_EQ(result.err.find('\r'), std::string::npos);  // no progress bar when standard error is a file
}

TEST_F(BatchTest, ExistingOutputsAreReplacedOnlyWithForce) {
    const std::string twin = m_folder.Write("other/good.xml", cvdrtest::SmallRecord().Xml());
    cvdrtest::Result result = Export({m_good, twin, "--to", "comtrade"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(cvdrtest::CvdrErrorLines(result.err),
              std::vector<std::string>{"cvdr: " + twin + ": " + Out("good.cfg") + " was written for " + m_good +
                                       " in this run"});
    EXPECT_EQ(result.out, "2 records: 1 written, 1 failed, 0 skipped (not records)\n");
    EXPECT_EQ(Written(), (std::vector<std::string>{"good.cfg", "good.dat", "good.hdr"}));

    m_folder.Write("out/good.cfg", "mine");
    result = Export({m_good, "--to", "comtrade"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(cvdrtest::CvdrErrorLines(result.err),
              std::vector<std::string>{"cvdr: " + m_good + ": " + Out("good.cfg") +
                                       " exists; left as it was (--force replaces it)"});
    EXPECT_EQ(cvdrtest::ReadFile(Out("good.cfg")), "mine");
    result = Export({m_good, "--to", "comtrade", "--force"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(comtradetest::ParseConfig(cvdrtest::ReadFile(Out("good.cfg"))).endSample, 8u);
}

TEST_F(BatchTest, FilesNamedExplicitlyAreAlwaysTriedAndEmptyFoldersReported) {
    fs::create_directories(m_folder.Path() + "/empty");
    const std::string notes = m_folder.Path() + "/in/notes.txt";
    const cvdrtest::Result result = Export({notes, m_folder.Path() + "/empty", m_good, "--to", "csv"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(cvdrtest::CvdrErrorLines(result.err),
              (std::vector<std::string>{"cvdr: " + m_folder.Path() + "/empty: no records found",
                                        "cvdr: " + notes + ": cannot load the record: not a record (root element "
                                                           "is p, expected DistFile)"}));
    EXPECT_EQ(Written(), std::vector<std::string>{"good.csv"});  // a failed record leaves nothing behind
}

// Runs cvdr with standard error on a pseudo-terminal and returns what the
// terminal received.
std::string RunOnTerminal(const std::vector<std::string>& arguments) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        setenv("DR_MVQ4_REGISTRY", "/nonexistent", 1);
        std::vector<char*> argv{const_cast<char*>(cvdrtest::kCvdr)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(cvdrtest::kCvdr, argv.data());
        _exit(127);
    }
    std::string screen;
    char buffer[4096];
    ssize_t got = 0;
    for (pollfd ready{terminal, POLLIN, 0}; poll(&ready, 1, 10000) > 0 && (got = read(terminal, buffer, 4096)) > 0;)
        screen.append(buffer, static_cast<size_t>(got));
    close(terminal);
    waitpid(child, nullptr, 0);
    return screen;
}

TEST_F(BatchTest, ShowsAndClearsAProgressBarOnATerminal) {
    const std::string screen =
        RunOnTerminal({"--plugin", cvdrtest::kPlugin, "export", m_folder.Path() + "/in", "--to", "csv", "-o",
                       m_folder.Path() + "/out"});
    EXPECT_NE(screen.find("\r[....................]  0/3  "), std::string::npos) << screen;
    EXPECT_NE(screen.find("\r[####################]  3/3"), std::string::npos) << screen;
    // The failure line starts on a cleared line.
    EXPECT_NE(screen.find("\r\x1b[Kcvdr: " + m_broken + ": cannot load the record"), std::string::npos)
        << screen;
    EXPECT_EQ(screen.substr(screen.size() - 4), "\r\x1b[K");  // the bar is gone at the end
}

}  // namespace
