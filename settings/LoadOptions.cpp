#include "settings/LoadOptions.h"

#include "settings/CCmdLineParser.h"

namespace settings {

LoadOptions ParseLoadOptions(const wchar_t* optionString) {
    LoadOptions options;
    if (optionString == nullptr || *optionString == L'\0') return options;
    CCmdLineParser parser;
    parser.Parse(optionString);
    if (const std::wstring* value = parser.GetValue(L"DeviceModelFolder")) options.deviceModelFolder = *value;
    if (const std::wstring* value = parser.GetValue(L"companyName")) options.companyName = *value;
    if (const std::wstring* value = parser.GetValue(L"productFamily")) options.productFamily = *value;
    if (const std::wstring* value = parser.GetValue(L"DisplayAnsiDeviceNumbers")) {
        options.displayAnsiDeviceNumbers = *value == L"1";
    }
    return options;
}

}  // namespace settings
