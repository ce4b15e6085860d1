// Why a record does not load. The plug-in answers a load with yes or no
// only; when it says no, cvdr walks the same steps in its own process (the
// decoder's file reading, container check, XML parsing and header reading)
// and names the first one that fails.
#ifndef CVDR_COMMANDS_LOAD_DIAGNOSIS_H
#define CVDR_COMMANDS_LOAD_DIAGNOSIS_H

#include <string>
#include <vector>

namespace cvdr {

struct LoadStep {
    std::string name;    // "file", "container", "xml", "device", "header", "channels"
    std::string reason;  // empty when the step passed
};

// Every step of loading `file` up to the first failing one, which is last.
// A record that passes every step ends with a passed "header" step.
std::vector<LoadStep> DiagnoseLoadSteps(const std::string& file);

// The reason of the first failing step, e.g. "empty file", "XML error at
// line 3, column 7: ...", "sample count 70000000 is over the most a record may
// declare, 67108864", "the analog samples are over the load budget of 1024 MiB";
// when no step fails, "the channel data does not fit together".
std::string LoadFailureReason(const std::string& file);

// The language whose texts name the channels of a record that loaded from
// `file` with `description` (the plug-in's: device name, three spaces,
// version), as the load picks it (the host's language, else ENG); "none
// (named from keys)" without a model. The record is not read again: having
// loaded, a container is known to verify.
std::string NamesLanguage(const std::string& file, const std::string& description, const std::string& language,
                          const std::string& options);

// The decoder's multi-line messages on one line, lines joined by " / ".
std::string OneLine(const std::string& text);

// "FILE: cannot load the record: REASON".
std::string LoadFailureMessage(const std::string& file);

}  // namespace cvdr

#endif
