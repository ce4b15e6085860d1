#include "container/ZipFileOpen.h"

#include <iowin32.h>

namespace container {

unzFile OpenZipFile(const std::wstring& path) {
    zlib_filefunc64_def functions{};
    fill_win32_filefunc64W(&functions);
    return unzOpen2_64(path.c_str(), &functions);
}

}  // namespace container
