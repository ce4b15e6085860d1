// The four options a host can give a load in its option string.
#ifndef DR_MVQ4_SETTINGS_LOAD_OPTIONS_H
#define DR_MVQ4_SETTINGS_LOAD_OPTIONS_H

#include <string>

namespace settings {

struct LoadOptions {
    std::wstring deviceModelFolder;  // "DeviceModelFolder"
    std::wstring companyName;        // "companyName"
    std::wstring productFamily;      // "productFamily"
    bool displayAnsiDeviceNumbers = false;  // "DisplayAnsiDeviceNumbers" equal to "1"
};

// Reads the options from `optionString` (command-line syntax, keys without
// regard to case); null or empty leaves every option at its default.
LoadOptions ParseLoadOptions(const wchar_t* optionString);

}  // namespace settings

#endif
