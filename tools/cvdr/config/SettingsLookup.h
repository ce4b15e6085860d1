// The settings file read exactly as the plug-in reads it. This is the one
// place where cvdr uses the decoder's own code: its registry-file parser, so
// that `cvdr config get` cannot disagree with what the plug-in sees. No
// record is loaded through it.
#ifndef CVDR_CONFIG_SETTINGS_LOOKUP_H
#define CVDR_CONFIG_SETTINGS_LOOKUP_H

#include <optional>
#include <string>

#include "platform/RegistryFile.h"

namespace cvdr {

// $DR_MVQ4_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/dr_mvq4/registry.reg;
// empty without any of them.
std::string SettingsFilePath();

struct StoredSetting {
    bool text = false;  // a string value
    std::string value;  // UTF-8 text; other types in regedit notation ("dword:00000001")
};

// The settings file's bytes, read as the plug-in reads it: a regular file of
// at most platform::kMaxRegistryFileSize bytes. None when it does not exist;
// throws std::runtime_error when it cannot be read.
std::optional<std::string> ReadSettingsFile(const std::string& path);

// The value `name` of the settings key; none when the key or the value is
// missing. Names compare without regard to ASCII case.
std::optional<StoredSetting> LookUpSetting(const platform::RegistryHive& hive, const std::string& name);

}  // namespace cvdr

#endif
