// One file opened for reading through the system, and the system's text for
// an error number: what FileAccess.h and the archive reader build on. Linux
// (SystemFile.cpp): a non-blocking open, then stdio; errno. Windows
// (win32/SystemFile.cpp): CreateFileW sharing the file with readers only, so a
// file that another program is writing is refused; error numbers are the
// system's error codes.
//
// Only regular files open: a folder, a pipe, a socket or a device is refused
// before anything waits on it, so that neither opening nor reading blocks.
#ifndef DR_MVQ4_PLATFORM_SYSTEM_FILE_H
#define DR_MVQ4_PLATFORM_SYSTEM_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class SystemFile {
public:
    SystemFile() = default;
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    // Opens the regular file at `path` (UTF-8). False with the system's
    // reason in `error` when it cannot be opened or is not a regular file.
    bool Open(const std::string& path, int& error);
    // The file's size when it was opened.
    uint64_t Size() const { return m_size; }
    // Reads up to `count` bytes into `buffer`; `got` says how many came (fewer
    // at the end of the file). False with the system's reason in `error` when
    // reading failed; `got` then counts the bytes read before the failure.
    bool Read(char* buffer, size_t count, size_t& got, int& error);
    // Moves to `offset` bytes from the start; the next Read begins there.
    bool Seek(uint64_t offset);

private:
    void* m_file = nullptr;  // the system's handle for the open file
    uint64_t m_size = 0;
};

// The system's description of an error number, without a final full stop.
std::string SystemErrorText(int error);

// The error number for a file larger than the module reads.
int FileTooLargeError();

}  // namespace platform

#endif
