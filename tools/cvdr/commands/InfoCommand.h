// `cvdr info`: a readable summary of a record and a table of its channels,
// or either as JSON or the channel table alone for scripts.
#ifndef CVDR_COMMANDS_INFO_COMMAND_H
#define CVDR_COMMANDS_INFO_COMMAND_H

#include "RecordSession.h"

namespace cvdr {

enum class InfoForm {
    kText,      // summary lines, a blank line, the channel table
    kChannels,  // the channel table alone
    kJson,      // one JSON object: the summary fields and "channels", without samples
};

// The channel table has one row per channel (analog, digital, logical, each
// in index order) with kind, index, name, unit, id, key, colour (#RRGGBB)
// and count: the transitions of a digital or logical channel, the invalid
// ranges of an analog one. Returns the exit status.
int RunInfo(const RecordRequest& request, InfoForm form);

}  // namespace cvdr

#endif
