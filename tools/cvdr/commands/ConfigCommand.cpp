#include "commands/ConfigCommand.h"

#include <iostream>
#include <optional>
#include <stdexcept>

#include "ExitStatus.h"
#include "config/SettingsFile.h"
#include "config/SettingsLookup.h"
#include "formats/TextTable.h"
#include "formats/Utf8Text.h"
#include "platform/TextConversion.h"

namespace cvdr {
namespace {

struct Setting {
    const char* name;
    const char* fallback;
    const char* enabling;  // the value that turns the setting on
    const char* whenOn;
    const char* whenOff;
};

const Setting kSettings[] = {
    {"reserve", "RESERVE_TMP", "YES", "reserve channels are kept", "reserve channels are left out"},
    {"scale", "SCALE_TMP", "NO", "analog values are unscaled (raw)", "analog values are scaled"},
    {"fullname", "FULL_NAME_TMP", "YES", "names made from keys show the whole key path",
     "names made from keys show the last part of the key"},
};

// The setting a name belongs to, and the name as the plug-in spells it.
const Setting* FindSetting(const std::string& name, std::string& spelling) {
    for (const Setting& setting : kSettings) {
        for (const char* candidate : {setting.name, setting.fallback}) {
            if (platform::AsciiUpper(name) == platform::AsciiUpper(candidate)) {
                spelling = candidate;
                return &setting;
            }
        }
    }
    return nullptr;
}

std::string RequirePath() {
    const std::string path = SettingsFilePath();
    if (path.empty()) throw std::runtime_error("no settings file: neither DR_MVQ4_REGISTRY nor HOME is set");
    return path;
}

// The settings file parsed once, as the plug-in parses it.
platform::RegistryHive ReadSettingsHive() {
    const std::optional<std::string> bytes = ReadSettingsFile(RequirePath());
    return bytes ? platform::ParseRegistryFile(*bytes) : platform::RegistryHive{};
}

std::string Shown(const platform::RegistryHive& hive, const char* name) {
    const std::optional<StoredSetting> stored = LookUpSetting(hive, name);
    return stored ? stored->value : "-";
}

// The plug-in turns a setting on when either name holds the enabling text.
bool IsOn(const platform::RegistryHive& hive, const Setting& setting) {
    for (const char* name : {setting.name, setting.fallback}) {
        const std::optional<StoredSetting> stored = LookUpSetting(hive, name);
        if (stored && stored->text && stored->value == setting.enabling) return true;
    }
    return false;
}

int List() {
    const platform::RegistryHive hive = ReadSettingsHive();
    TextTable table({"setting", "value", "fallback", "value", "in effect"});
    for (const Setting& setting : kSettings) {
        table.AddRow({setting.name, Shown(hive, setting.name), setting.fallback, Shown(hive, setting.fallback),
                      IsOn(hive, setting) ? setting.whenOn : setting.whenOff});
    }
    table.Print(std::cout);
    return kExitSuccess;
}

int Get(const std::string& name) {
    const std::optional<StoredSetting> stored = LookUpSetting(ReadSettingsHive(), name);
    if (!stored) {
        ReportError(name + " is not set");
        return kExitFailure;
    }
    std::cout << stored->value << '\n';
    return kExitSuccess;
}

SettingsFile ParseSettings(const std::string& path, const std::string& bytes) {
    try {
        return SettingsFile::Parse(bytes);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(path + ": " + error.what());
    }
}

int Set(const std::string& name, const std::string& value, const Setting& setting) {
    const std::string path = RequirePath();
    const std::optional<std::string> bytes = ReadSettingsFile(path);
    SettingsFile file = bytes ? ParseSettings(path, *bytes) : SettingsFile::Create();
    file.Set(platform::Utf8ToWide(name), platform::Utf8ToWide(value));
    SaveSettingsFile(path, file.Bytes());
    if (value != "YES" && value != "NO") {
        ReportError(std::string("note: values are compared exactly; only \"") + setting.enabling +
                    "\" turns " + setting.name + " on");
    }
    return kExitSuccess;
}

int Unset(const std::string& name) {
    const std::string path = RequirePath();
    const std::optional<std::string> bytes = ReadSettingsFile(path);
    if (!bytes) return kExitSuccess;
    SettingsFile file = ParseSettings(path, *bytes);
    if (file.Unset(platform::Utf8ToWide(name))) SaveSettingsFile(path, file.Bytes());
    return kExitSuccess;
}

}  // namespace

int RunConfig(const ConfigRequest& request) {
    if (request.action == ConfigAction::kList) return List();
    if (request.action == ConfigAction::kPath) {
        std::cout << RequirePath() << '\n';
        return kExitSuccess;
    }
    std::string name;
    const Setting* setting = FindSetting(request.name, name);
    if (setting == nullptr) {
        ReportError("unknown setting \"" + request.name +
                    "\" (reserve, scale, fullname or their fallback names "
                    "RESERVE_TMP, SCALE_TMP, FULL_NAME_TMP)");
        return kExitUsage;
    }
    if (request.action == ConfigAction::kGet) return Get(name);
    if (request.action == ConfigAction::kUnset) return Unset(name);
    if (request.value.find_first_of("\r\n") != std::string::npos) {
        ReportError("a setting's value cannot hold a line break");
        return kExitUsage;
    }
    return Set(name, ValidUtf8(request.value), *setting);
}

}  // namespace cvdr
