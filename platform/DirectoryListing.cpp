#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <utility>

namespace platform {
namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);  // follows links; loops fail
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

size_t LastComponentStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::vector<std::string> ListFilesWithPrefix(const std::string& prefixText) {
    const size_t split = LastComponentStart(prefixText);
    const std::string folder = prefixText.substr(0, split);
    const std::string namePrefix = prefixText.substr(split);
    std::vector<std::string> names;
    for (std::string& name : FolderEntries(folder)) {
        if (name.compare(0, namePrefix.size(), namePrefix) == 0 && IsRegularFile(folder + name)) {
            names.push_back(std::move(name));
        }
    }
    SortInListingOrder(names);
    return names;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) names.emplace_back(entry->d_name);
    return names;
}

std::string AppendPath(const std::string& folder, const std::string& component) {
    if (component.empty()) return folder;
    if (folder.empty() || folder.back() == '/') return folder + component;
    return folder + "/" + component;
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

}  // namespace platform
