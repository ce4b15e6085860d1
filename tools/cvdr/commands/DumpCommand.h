// `cvdr dump --json`: everything the host interfaces tell about a record, as
// one JSON object in the cvdr-dump/1 layout (formats/json/DumpWriter.h).
#ifndef CVDR_COMMANDS_DUMP_COMMAND_H
#define CVDR_COMMANDS_DUMP_COMMAND_H

#include "RecordSession.h"

namespace cvdr {

// `samples` false leaves out the analog values and their validity. Returns
// the exit status.
int RunDump(const RecordRequest& request, bool samples);

}  // namespace cvdr

#endif
