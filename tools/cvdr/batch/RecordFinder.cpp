#include "batch/RecordFinder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/SystemFile.h"

namespace cvdr {
namespace {

namespace fs = std::filesystem;

// How far into a document the <DistFile> element is looked for.
constexpr size_t kHeadBytes = 4096;

// Empty when the file cannot be read or is no regular file (any more): the
// listing's type may be stale, and a FIFO would block.
std::string ReadHead(const fs::path& path) {
    platform::SystemFile file;
    int error = 0;
    std::string head(kHeadBytes, '\0');
    size_t got = 0;
    if (file.Open(path.string(), error)) file.Read(&head[0], head.size(), got, error);
    head.resize(got);
    return head;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Regular files below `folder`, sorted; false when the walk failed.
bool ListFiles(const fs::path& folder, std::vector<fs::path>& files, std::error_code& error) {
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (it->is_regular_file(statusError)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return !error;
}

void AddFolder(const std::string& folder, FoundRecords& found) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!ListFiles(folder, files, error)) {
        found.problems.push_back(folder + ": cannot read the folder: " + error.message());
        return;
    }
    const size_t before = found.files.size();
    for (const fs::path& file : files) {
        if (LooksLikeRecord(ReadHead(file))) {
            found.files.push_back({file.string(), file.lexically_relative(folder).string()});
        } else {
            found.skipped.push_back(file.string());
        }
    }
    if (found.files.size() == before) found.problems.push_back(folder + ": no records found");
}

}  // namespace

bool LooksLikeRecord(std::string_view head) {
    if (head.substr(0, 2) == "PK") return true;
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    const auto start =
        static_cast<size_t>(std::find_if_not(head.begin(), head.end(), IsWhiteSpace) - head.begin());
    return start < head.size() && head[start] == '<' &&
           head.find("<DistFile", start) != std::string_view::npos;
}

FoundRecords FindRecords(const std::vector<std::string>& inputs) {
    FoundRecords found;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (fs::is_directory(input, error)) {
            AddFolder(input, found);
        } else {
            found.files.push_back({input, fs::path(input).filename().string()});
        }
    }
    return found;
}

}  // namespace cvdr
