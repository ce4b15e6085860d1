#include "container/ZipFileOpen.h"

#include "platform/TextConversion.h"

namespace container {

unzFile OpenZipFile(const std::wstring& path) { return unzOpen64(platform::WideToUtf8(path).c_str()); }

}  // namespace container
