// The computer-wide application-data folder: $DR_MVQ4_COMMON_APPDATA, else the
// first entry of $XDG_DATA_DIRS, else /usr/local/share. No trailing separator.
#ifndef DR_MVQ4_PLATFORM_APP_DATA_FOLDER_H
#define DR_MVQ4_PLATFORM_APP_DATA_FOLDER_H

#include <string>

namespace platform {
std::string CommonAppDataFolder();
}

#endif
