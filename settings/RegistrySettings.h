// The three user settings that change how a record is presented, read from
// the current user's registry key "Software\Pelvar\Tracedesk\Scopora\Settings"
// every time one is needed (no caching). Each has a fallback value name that
// is consulted when the first is absent or does not match. Any registry
// failure gives the setting's default.
#ifndef DR_MVQ4_SETTINGS_REGISTRY_SETTINGS_H
#define DR_MVQ4_SETTINGS_REGISTRY_SETTINGS_H

#include <string>

namespace settings {

// "reserve" / "RESERVE_TMP" equal to "YES": reserve channels are kept.
bool IsReserveShown();
// "scale" / "SCALE_TMP" equal to "NO": analog values stay unscaled.
bool IsScaleEnabled();
// "fullname" / "FULL_NAME_TMP" equal to "YES": names made from a key show the
// whole key path.
bool IsFullNameShown();

// The key text as it appears in a name: unchanged when full names are shown,
// otherwise the part after the last "/".
std::string ShortenChannelName(const std::string& key);

}  // namespace settings

#endif
