#include "platform/FileAccess.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/MessageBox.h"

namespace platform {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for reading; directories and other special files are
// refused with EISDIR / EINVAL so that a read never blocks on a pipe.
FilePtr OpenRegularFile(const std::string& path, int& error, uint64_t& size) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = errno;
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0) {
        error = errno;
        return nullptr;
    }
    if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = EINVAL;
        return nullptr;
    }
    size = static_cast<uint64_t>(info.st_size);
    return file;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, int& error) {
    uint64_t size = 0;
    FilePtr file = OpenRegularFile(path, error, size);
    if (!file) return false;
    if (size > kMaxFileSize) {
        error = EFBIG;
        return false;
    }
    std::string content(static_cast<size_t>(size), '\0');
    const size_t got = content.empty() ? 0 : std::fread(&content[0], 1, content.size(), file.get());
    if (got != content.size()) {
        error = std::ferror(file.get()) ? EIO : 0;
        content.resize(got);  // the file shrank while reading: keep what is there
    }
    bytes.swap(content);
    return true;
}

HeadResult ReadFileHead(const std::string& path, size_t count, std::string& bytes, int& error) {
    uint64_t size = 0;
    FilePtr file = OpenRegularFile(path, error, size);
    if (!file) return HeadResult::kCannotOpen;
    std::string head(count, '\0');
    if (count > 0 && std::fread(&head[0], 1, count, file.get()) != count) {
        return std::ferror(file.get()) ? HeadResult::kCannotRead : HeadResult::kTooShort;
    }
    bytes.swap(head);
    return HeadResult::kRead;
}

std::string FileErrorMessage(const std::string& path, int error) {
    return "Cannot open the file " + path + ": " + std::strerror(error) + ".";
}

void ReportFileError(const std::string& path, int error) { ShowMessageBox(FileErrorMessage(path, error)); }

}  // namespace platform
