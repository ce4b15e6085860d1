// Folder listing through the system's wildcard search; paths joined with
// PathAppendW.
#include "platform/DirectoryListing.h"

#include <windows.h>
#include <shlwapi.h>

#include "platform/TextConversion.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// An entry counts as a file unless the system marks it as a folder or a
// device; a link is judged by its own entry.
bool IsFile(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Calls `visit` with every entry the system finds for `pattern`.
template <typename Visit>
void ForEachEntry(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW(Utf8ToWide(pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    try {
        do {
            visit(entry);
        } while (FindNextFileW(find, &entry));
    } catch (...) {
        FindClose(find);
        throw;
    }
    FindClose(find);
}

}  // namespace

size_t LastComponentStart(const std::string& path) {
    for (size_t k = path.size(); k > 0; --k) {
        if (IsSeparator(path[k - 1])) return k;
    }
    return 0;
}

std::vector<std::string> ListFilesWithPrefix(const std::string& prefixText) {
    std::vector<std::string> names;
    ForEachEntry(prefixText + "*", [&](const WIN32_FIND_DATAW& entry) {
        if (IsFile(entry)) names.push_back(WideToUtf8(entry.cFileName));
    });
    SortInListingOrder(names);
    return names;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder + "*", [&](const WIN32_FIND_DATAW& entry) { names.push_back(WideToUtf8(entry.cFileName)); });
    return names;
}

std::string AppendPath(const std::string& folder, const std::string& component) {
    if (component.empty()) return folder;
    if (folder.empty()) return component;
    const std::wstring wideFolder = Utf8ToWide(folder), wideComponent = Utf8ToWide(component);
    wchar_t joined[MAX_PATH] = {};
    const bool fits = wideFolder.size() < MAX_PATH;
    if (fits) wideFolder.copy(joined, wideFolder.size());
    if (fits && PathAppendW(joined, wideComponent.c_str())) return WideToUtf8(joined);
    return IsSeparator(folder.back()) ? folder + component : folder + "\\" + component;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace platform
