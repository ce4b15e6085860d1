// The settings file read exactly as the plug-in reads it. This is the one
// place where cvdr uses the decoder's own code: its registry-file parser, so
// that `cvdr config get` cannot disagree with what the plug-in sees. No
// record is loaded through it.
#ifndef CVDR_CONFIG_SETTINGS_LOOKUP_H
#define CVDR_CONFIG_SETTINGS_LOOKUP_H

#include <optional>
#include <string>

namespace cvdr {

// $DR_MVQ4_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/dr_mvq4/registry.reg;
// empty without any of them.
std::string SettingsFilePath();

struct StoredSetting {
    bool text = false;  // a string value
    std::string value;  // UTF-8 text; other types in regedit notation ("dword:00000001")
};

// The value `name` of the settings key in the file's bytes; none when the
// file, the key or the value is missing. Names compare without regard to
// ASCII case.
std::optional<StoredSetting> LookUpSetting(const std::string& fileBytes, const std::string& name);

}  // namespace cvdr

#endif
