// The computer-wide application-data folder, without a trailing separator,
// as UTF-8. Windows: the system's common application-data folder
// (CSIDL_COMMON_APPDATA, usually C:\ProgramData); empty when the system does
// not name one. Linux stand-in: $DR_MVQ4_COMMON_APPDATA, else the first entry
// of $XDG_DATA_DIRS, else /usr/local/share.
#ifndef DR_MVQ4_PLATFORM_APP_DATA_FOLDER_H
#define DR_MVQ4_PLATFORM_APP_DATA_FOLDER_H

#include <string>

namespace platform {
std::string CommonAppDataFolder();
}

#endif
