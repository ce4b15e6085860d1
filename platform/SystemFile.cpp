#include "platform/SystemFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

std::FILE* Stream(void* file) { return static_cast<std::FILE*>(file); }

// Directories and other special files are refused with EISDIR / EINVAL.
int RegularFileError(int descriptor, uint64_t& size) {
    struct stat info {};
    if (fstat(descriptor, &info) != 0) return errno;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    if (!S_ISREG(info.st_mode)) return EINVAL;
    size = static_cast<uint64_t>(info.st_size);
    return 0;
}

// A path that names no regular file is refused before it is opened, as
// opening a device can act on it. The file itself is opened without waiting
// for a writer (a FIFO) or a line (a device) and checked again, in case it was
// swapped meanwhile; reading a regular file then goes on in blocking mode.
int OpenRegularFile(const std::string& path, uint64_t& size, std::FILE*& stream) {
    struct stat named {};
    if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
        return S_ISDIR(named.st_mode) ? EISDIR : EINVAL;
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    int error = RegularFileError(descriptor, size);
    const int flags = error == 0 ? fcntl(descriptor, F_GETFL) : -1;
    if (error == 0 && (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)) error = errno;
    stream = error == 0 ? fdopen(descriptor, "rb") : nullptr;
    if (error == 0 && stream == nullptr) error = errno;
    if (stream == nullptr) close(descriptor);
    return error;
}

}  // namespace

SystemFile::~SystemFile() {
    if (m_file != nullptr) std::fclose(Stream(m_file));
}

bool SystemFile::Open(const std::string& path, int& error) {
    std::FILE* file = nullptr;
    const int refused = OpenRegularFile(path, m_size, file);
    if (refused != 0) {
        error = refused;
        return false;
    }
    m_file = file;
    return true;
}

bool SystemFile::Read(char* buffer, size_t count, size_t& got, int& error) {
    got = count == 0 ? 0 : std::fread(buffer, 1, count, Stream(m_file));
    if (got == count || !std::ferror(Stream(m_file))) return true;
    error = EIO;
    return false;
}

bool SystemFile::Seek(uint64_t offset) {
    return offset <= static_cast<uint64_t>(INT64_MAX) &&
           fseeko(Stream(m_file), static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::string SystemErrorText(int error) { return std::strerror(error); }

int FileTooLargeError() { return EFBIG; }

}  // namespace platform
