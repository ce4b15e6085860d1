// Reading files whole, and the report shown when a file cannot be opened.
#ifndef DR_MVQ4_PLATFORM_FILE_ACCESS_H
#define DR_MVQ4_PLATFORM_FILE_ACCESS_H

#include <cstdint>
#include <string>

namespace platform {

// Largest file the module reads into memory at once (1 GiB). No record, model
// or container comes near it; a larger file is refused as unreadable.
constexpr uint64_t kMaxFileSize = uint64_t{1} << 30;

// Reads the whole file at `path` (UTF-8) into `bytes`. On failure returns false,
// leaves `bytes` unchanged and stores the operating system's error number
// in `error`; a file larger than `maxSize` fails with FileTooLargeError().
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error, uint64_t maxSize = kMaxFileSize);

// Reads the first `count` bytes of the file into `bytes`.
enum class HeadResult {
    kRead,        // `bytes` holds them
    kCannotOpen,  // `error` holds the operating system's reason
    kCannotRead,  // opened, but reading failed
    kTooShort,    // the file holds fewer bytes
};
HeadResult ReadFileHead(const std::string& path, size_t count, std::string& bytes, int& error);

// The file-error report for a file that cannot be opened for reading:
// names the path and the operating system's reason.
std::string FileErrorMessage(const std::string& path, int error);

// Shows FileErrorMessage through the message box.
void ReportFileError(const std::string& path, int error);

}  // namespace platform

#endif
