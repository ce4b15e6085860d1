// Where cvdr looks for the decoder plug-in.
#ifndef CVDR_PLUGIN_PATH_H
#define CVDR_PLUGIN_PATH_H

#include <string>

namespace cvdr {

// File name of the plug-in library.
inline constexpr const char* kPluginFileName = "libdr_mvq4.so";

// The plug-in to load, first match wins: `explicitPath` (the --plugin
// option) when not empty; else $CVDR_PLUGIN when set and not empty; else the
// plug-in beside the running executable when that file exists; else the
// plug-in in the installed library folder.
std::string FindPlugin(const std::string& explicitPath);

}  // namespace cvdr

#endif
