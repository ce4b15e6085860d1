// `cvdr models`: what the device-model lookup sees for plain record files:
// the folder it searches, the product line, every candidate in sorted order,
// and which file a record of a given device name and version selects, with
// the result of its check load. Uses the decoder's internals directly.
#ifndef CVDR_COMMANDS_MODELS_COMMAND_H
#define CVDR_COMMANDS_MODELS_COMMAND_H

#include <ostream>
#include <string>

namespace cvdr {

struct ModelsRequest {
    std::string options;
    std::string device;   // empty: list only
    std::string version;  // empty: list the versions of the device
};

// Writes the listing to `out`; returns 0, or 1 when a device was named and
// no model for it is found (of any version, when no version is named) or
// its check load fails.
int RunModels(const ModelsRequest& request, std::ostream& out);

}  // namespace cvdr

#endif
