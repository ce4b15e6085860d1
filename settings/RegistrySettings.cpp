#include "settings/RegistrySettings.h"

#include "settings/CRegistry.h"

namespace settings {
namespace {

const wchar_t* const kSettingsKey = L"Software\\Pelvar\\Tracedesk\\Scopora\\Settings";

// True when the value `name` or `fallback` of the settings key equals `expected`.
bool SettingEquals(const wchar_t* name, const wchar_t* fallback, const wchar_t* expected) {
    CRegistry registry(platform::CurrentUserKey());
    if (!registry.KeyExists(platform::CurrentUserKey(), kSettingsKey)) return false;
    registry.Open(platform::CurrentUserKey(), kSettingsKey);
    for (const wchar_t* valueName : {name, fallback}) {
        std::wstring text;
        if (registry.Read(valueName, text) && text == expected) {
            registry.Close();
            return true;
        }
    }
    registry.Close();
    return false;
}

}  // namespace

bool IsReserveShown() { return SettingEquals(L"reserve", L"RESERVE_TMP", L"YES"); }

bool IsScaleEnabled() { return !SettingEquals(L"scale", L"SCALE_TMP", L"NO"); }

bool IsFullNameShown() { return SettingEquals(L"fullname", L"FULL_NAME_TMP", L"YES"); }

std::string ShortenChannelName(const std::string& key) {
    if (IsFullNameShown()) return key;
    const size_t slash = key.rfind('/');
    return slash == std::string::npos ? key : key.substr(slash + 1);
}

}  // namespace settings
