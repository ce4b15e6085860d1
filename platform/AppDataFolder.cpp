#include "platform/AppDataFolder.h"

#include <cstdlib>

namespace platform {

std::string CommonAppDataFolder() {
    const char* own = std::getenv("DR_MVQ4_COMMON_APPDATA");
    std::string folder;
    if (own != nullptr && *own != '\0') {
        folder = own;
    } else if (const char* dirs = std::getenv("XDG_DATA_DIRS"); dirs != nullptr && *dirs != '\0') {
        folder = std::string(dirs).substr(0, std::string(dirs).find(':'));
    }
    if (folder.empty()) folder = "/usr/local/share";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace platform
