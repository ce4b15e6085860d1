// How ZipArchive opens an archive file. Linux: the unzip API's own file
// functions on the UTF-8 path. Windows (win32/ZipFileOpen.cpp): its Win32 file
// functions on the wide path, so that every path the system accepts opens
// (the runtime's narrow functions would take it in the ANSI code page), with
// the file shared for reading only.
#ifndef DR_MVQ4_CONTAINER_ZIP_FILE_OPEN_H
#define DR_MVQ4_CONTAINER_ZIP_FILE_OPEN_H

#include <unzip.h>

#include <string>

namespace container {

// The archive at `path`, or null when it cannot be opened or holds no
// readable central directory.
unzFile OpenZipFile(const std::wstring& path);

}  // namespace container

#endif
