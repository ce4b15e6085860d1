// Runs the built cvdr as a child process and collects what it did, for the
// tool's end-to-end tests.
#ifndef DR_MVQ4_TESTS_TOOLS_SUPPORT_CVDR_PROCESS_H
#define DR_MVQ4_TESTS_TOOLS_SUPPORT_CVDR_PROCESS_H

#include <map>
#include <string>
#include <vector>

namespace cvdrtest {

// Built files, handed in by the build.
inline const char* const kCvdr = CVDR_EXECUTABLE;
inline const char* const kPlugin = CVDR_PLUGIN_FILE;
inline const char* const kStubPlugin = CVDR_STUB_PLUGIN_FILE;

struct RunSettings {
    // Environment changes for the child: a name mapped to "" is removed.
    // CVDR_PLUGIN is always removed unless set here.
    std::map<std::string, std::string> environment;
    // Where standard output goes; empty: collected into Result::out.
    std::string stdoutPath;
};

struct Result {
    int status = -1;  // exit status; -1 when the child did not exit normally
    std::string out;
    std::string err;
};

Result RunCvdr(const std::vector<std::string>& arguments, const RunSettings& settings = {});

// The bytes of a file; throws std::runtime_error when it cannot be read.
std::string ReadFile(const std::string& path);

// Lines of `err` written by cvdr itself: those of the plug-in (prefixed
// "dr_mvq4: ") are left out.
std::vector<std::string> CvdrErrorLines(const std::string& err);

}  // namespace cvdrtest

#endif
