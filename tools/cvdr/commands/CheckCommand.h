// `cvdr check`: why a record comes up without names. Reports step by step
// what the decoder does to find the record's device model: container or not,
// the meta-data and container-data checks with the decoder's own messages,
// the syntax version, the language texts used, the device model's load
// result, the language document's checksum, the text replacements, and how
// many channels found their names. It uses the decoder's internals directly
// (it is a diagnostic, not a host) and changes nothing the plug-in does.
#ifndef CVDR_COMMANDS_CHECK_COMMAND_H
#define CVDR_COMMANDS_CHECK_COMMAND_H

#include <ostream>
#include <string>

namespace cvdr {

struct CheckRequest {
    std::string file;
    std::string language = "ENG";
    std::string options;
};

// Writes the report to `out`; returns 0 when everything verified, else 1.
int RunCheck(const CheckRequest& request, std::ostream& out);

}  // namespace cvdr

#endif
