#include "host/PluginPath.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef DR_MVQ4_INSTALL_LIBDIR
#error "DR_MVQ4_INSTALL_LIBDIR must name the installed library folder"
#endif

namespace host {
namespace {

// The plug-in beside /proc/self/exe, or "" when the executable cannot be
// located or has no plug-in next to it.
std::string PluginBesideExecutable() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "";
    const std::filesystem::path candidate = executable.parent_path() / kPluginFileName;
    if (access(candidate.c_str(), F_OK) != 0) return "";
    return candidate.string();
}

}  // namespace

std::string FindPlugin(const std::string& explicitPath) {
    if (!explicitPath.empty()) return explicitPath;
    const char* fromEnvironment = std::getenv("CVDR_PLUGIN");
    if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') return fromEnvironment;
    const std::string beside = PluginBesideExecutable();
    if (!beside.empty()) return beside;
    return std::string(DR_MVQ4_INSTALL_LIBDIR) + "/" + kPluginFileName;
}

}  // namespace host
