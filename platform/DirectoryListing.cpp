#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/TextConversion.h"

namespace platform {
namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);  // follows links; loops fail
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

size_t LastComponentStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::vector<std::string> ListFilesWithPrefix(const std::string& prefixText) {
    const size_t split = LastComponentStart(prefixText);
    const std::string folder = split == 0 ? "." : prefixText.substr(0, split);
    const std::string namePrefix = prefixText.substr(split);
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.compare(0, namePrefix.size(), namePrefix) != 0) continue;
        if (IsRegularFile(prefixText.substr(0, split) + name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string upperA = AsciiUpper(a), upperB = AsciiUpper(b);
        return upperA != upperB ? upperA < upperB : a < b;
    });
    return names;
}

// Of names equal but for case, listing order puts the byte-wise smallest
// first, so that is the one taken.
std::string ResolveNameIgnoringCase(const std::string& path) {
    const size_t split = LastComponentStart(path);
    const std::string wanted = AsciiUpper(std::string_view(path).substr(split));
    const std::string folder = path.substr(0, split);
    std::string found;
    std::unique_ptr<DIR, DirCloser> dir(opendir(split == 0 ? "." : folder.c_str()));
    while (dir && !wanted.empty()) {
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) break;
        const std::string name = entry->d_name;
        if (AsciiUpper(name) == wanted && (found.empty() || name < found)) found = name;
    }
    return found.empty() ? path : folder + found;
}

bool HasExtensionIgnoringCase(const std::string& name, const std::string& extension) {
    return name.size() >= extension.size() &&
           AsciiUpper(name.substr(name.size() - extension.size())) == AsciiUpper(extension);
}

std::string AppendPath(const std::string& folder, const std::string& component) {
    if (component.empty()) return folder;
    if (folder.empty() || folder.back() == '/') return folder + component;
    return folder + "/" + component;
}

std::string Extension(const std::string& path) {
    const size_t start = LastComponentStart(path);
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < start ? std::string() : path.substr(dot);
}

std::string PathWithoutExtension(const std::string& path) {
    return path.substr(0, path.size() - Extension(path).size());
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

}  // namespace platform
