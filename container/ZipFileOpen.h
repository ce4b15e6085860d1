// How ZipArchive opens an archive file: the unzip API reads through file
// functions of our own over platform::SystemFile, so that an archive is held
// to the same rule as every other file the module reads (a regular file,
// opened without blocking; on Windows any path the system accepts, shared for
// reading only).
#ifndef DR_MVQ4_CONTAINER_ZIP_FILE_OPEN_H
#define DR_MVQ4_CONTAINER_ZIP_FILE_OPEN_H

#include <unzip.h>

#include <string>

namespace container {

// The archive at `path`, or null when it cannot be opened, is not a regular
// file or holds no readable central directory.
unzFile OpenZipFile(const std::wstring& path);

}  // namespace container

#endif
