#include "platform/SystemFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

std::FILE* Stream(void* file) { return static_cast<std::FILE*>(file); }

// Directories and other special files are refused with EISDIR / EINVAL.
int RegularFileError(std::FILE* file, uint64_t& size) {
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) return errno;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    if (!S_ISREG(info.st_mode)) return EINVAL;
    size = static_cast<uint64_t>(info.st_size);
    return 0;
}

}  // namespace

SystemFile::~SystemFile() {
    if (m_file != nullptr) std::fclose(Stream(m_file));
}

bool SystemFile::Open(const std::string& path, int& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = errno;
        return false;
    }
    const int refused = RegularFileError(file, m_size);
    if (refused != 0) {
        std::fclose(file);
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

std::string SystemErrorText(int error) { return std::strerror(error); }

int FileTooLargeError() { return EFBIG; }

}  // namespace platform
