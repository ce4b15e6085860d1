#include "platform/AppDataFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/TextConversion.h"

namespace platform {

std::string CommonAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return WideToUtf8(folder);
}

}  // namespace platform
