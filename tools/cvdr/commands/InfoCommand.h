// `cvdr info`: a readable summary of a record and a table of its channels.
#ifndef CVDR_COMMANDS_INFO_COMMAND_H
#define CVDR_COMMANDS_INFO_COMMAND_H

#include <ostream>

#include "RecordSession.h"
#include "host/Record.h"

namespace cvdr {

// Writes the record's summary lines, a blank line, then one row per channel
// (analog, digital, logical, each in index order) with kind, index, name,
// unit, id, key, colour (#RRGGBB) and count: the transitions of a digital or
// logical channel, the invalid ranges of an analog one.
void WriteInfo(const host::Record& record, std::ostream& out);

// Returns the exit status.
int RunInfo(const RecordRequest& request);

}  // namespace cvdr

#endif
