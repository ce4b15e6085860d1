// Reading files whole, and the report shown when a file cannot be opened.
#ifndef DR_MVQ4_PLATFORM_FILE_ACCESS_H
#define DR_MVQ4_PLATFORM_FILE_ACCESS_H

#include <cstdint>
#include <string>

#include "platform/LoadBudget.h"

namespace platform {

// Reads the whole file at `path` (UTF-8) into `bytes`, its size reserved in
// `budget` before it is read. On failure returns false, leaves `bytes`
// unchanged and stores the operating system's error number in `error`; a file
// larger than the budget allows fails with FileTooLargeError().
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error, LoadBudget& budget);
// The same within a default budget of its own.
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error);

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
