// cvdr config: shows and edits the three viewer settings in the settings
// file the plug-in reads ("reserve", "scale", "fullname" and their fallback
// names "RESERVE_TMP", "SCALE_TMP", "FULL_NAME_TMP").
#ifndef CVDR_COMMANDS_CONFIG_COMMAND_H
#define CVDR_COMMANDS_CONFIG_COMMAND_H

#include <string>

namespace cvdr {

enum class ConfigAction { kList, kGet, kSet, kUnset, kPath };

struct ConfigRequest {
    ConfigAction action = ConfigAction::kList;
    std::string name;
    std::string value;
};

// Returns the exit status: 0 done, 1 not set (get) or the file could not be
// read or written, 2 an unknown setting name or a value with a line break.
int RunConfig(const ConfigRequest& request);

}  // namespace cvdr

#endif
