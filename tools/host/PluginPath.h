// Where the host looks for the decoder plug-in.
#ifndef DR_MVQ4_HOST_PLUGIN_PATH_H
#define DR_MVQ4_HOST_PLUGIN_PATH_H

#include <string>

namespace host {

// File name of the plug-in library.
inline constexpr const char* kPluginFileName = "libdr_mvq4.so";

// The plug-in to load, first match wins: `explicitPath` (cvdr's --plugin)
// when not empty; else $CVDR_PLUGIN when set and not empty; else the plug-in
// beside the running executable when that file exists; else the plug-in in
// the installed library folder.
std::string FindPlugin(const std::string& explicitPath);

// The same search with `besideFolder` in place of the executable's folder,
// for hosts that are not programs of their own (the Python module looks
// beside its own file, not beside the interpreter).
std::string FindPlugin(const std::string& explicitPath, const std::string& besideFolder);

}  // namespace host

#endif
