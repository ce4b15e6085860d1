#include "config/SettingsLookup.h"

#include <fmt/format.h>

#include <cerrno>
#include <stdexcept>

#include "platform/SystemFile.h"
#include "platform/TextConversion.h"

namespace cvdr {
namespace {

// The settings key as the parser stores it: below HKEY_CURRENT_USER, upper case.
const wchar_t* const kSettingsKey = L"SOFTWARE\\PELVAR\\TRACEDESK\\SCOPORA\\SETTINGS";

// UTF-16LE up to the first NUL unit.
std::string StringValue(const std::vector<uint8_t>& data) {
    size_t end = 0;
    while (end + 1 < data.size() && (data[end] != 0 || data[end + 1] != 0)) end += 2;
    return platform::WideToUtf8(platform::Utf16LeToWide(data.data(), end));
}

std::string RegeditNotation(const platform::RegistryValue& value) {
    if (value.type == platform::kRegDword && value.data.size() == 4) {
        const uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                (static_cast<uint32_t>(value.data[3]) << 24);
        return fmt::format("dword:{:08x}", number);
    }
    std::string text = value.type == platform::kRegBinary ? "hex:" : fmt::format("hex({:x}):", value.type);
    for (size_t i = 0; i < value.data.size(); ++i)
        text += fmt::format("{}{:02x}", i == 0 ? "" : ",", value.data[i]);
    return text;
}

}  // namespace

std::string SettingsFilePath() { return platform::RegistryFilePath(); }

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    std::string bytes;
    int error = 0;
    if (platform::ReadRegistryFile(path, bytes, error)) return bytes;
    if (error == ENOENT) return std::nullopt;
    throw std::runtime_error(path + ": cannot read the settings file: " + platform::SystemErrorText(error));
}

std::optional<StoredSetting> LookUpSetting(const platform::RegistryHive& hive, const std::string& name) {
    const auto key = hive.keys.find(kSettingsKey);
    if (key == hive.keys.end()) return std::nullopt;
    const auto found = key->second.find(platform::AsciiUpper(platform::Utf8ToWide(name)));
    if (found == key->second.end()) return std::nullopt;
    const platform::RegistryValue& value = found->second;
    const bool text = value.type == platform::kRegSz || value.type == platform::kRegExpandSz;
    return StoredSetting{text, text ? StringValue(value.data) : RegeditNotation(value)};
}

}  // namespace cvdr
