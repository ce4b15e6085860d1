#include "tools/support/CvdrProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "support/RecordFixture.h"

namespace cvdrtest {
namespace {

void Redirect(const std::string& path, int target) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || dup2(fd, target) < 0) _exit(126);
    close(fd);
}

// Runs in the forked child; never returns.
[[noreturn]] void ExecCvdr(const std::vector<std::string>& arguments, const RunSettings& settings,
                           const std::string& outPath, const std::string& errPath) {
    unsetenv("CVDR_PLUGIN");
    for (const auto& [name, value] : settings.environment)
        value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
    Redirect(outPath, STDOUT_FILENO);
    Redirect(errPath, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(kCvdr)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(kCvdr, argv.data());
    _exit(127);
}

}  // namespace

Result RunCvdr(const std::vector<std::string>& arguments, const RunSettings& settings) {
    const fixture::TempDir folder;
    const std::string outPath = settings.stdoutPath.empty() ? folder.Path() + "/out" : settings.stdoutPath;
    const std::string errPath = folder.Path() + "/err";
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) ExecCvdr(arguments, settings, outPath, errPath);
    int status = 0;
    if (waitpid(child, &status, 0) != child) throw std::runtime_error("waitpid failed");
    Result result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (settings.stdoutPath.empty()) result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> CvdrErrorLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("dr_mvq4: ", 0) != 0) lines.push_back(line);
    }
    return lines;
}

}  // namespace cvdrtest
