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

// The folder of /proc/self/exe, or "" when the executable cannot be located.
std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "";
    return executable.parent_path().string();
}

}  // namespace

std::string FindPlugin(const std::string& explicitPath) { return FindPlugin(explicitPath, ExecutableFolder()); }

std::string FindPlugin(const std::string& explicitPath, const std::string& besideFolder) {
    if (!explicitPath.empty()) return explicitPath;
    const char* fromEnvironment = std::getenv("CVDR_PLUGIN");
    if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') return fromEnvironment;
    if (!besideFolder.empty()) {
        const std::filesystem::path beside = std::filesystem::path(besideFolder) / kPluginFileName;
        if (access(beside.c_str(), F_OK) == 0) return beside.string();
    }
    return std::string(DR_MVQ4_INSTALL_LIBDIR) + "/" + kPluginFileName;
}

}  // namespace host
