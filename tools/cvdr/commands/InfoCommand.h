// `cvdr info`: a readable summary of a record and a table of its channels.
#ifndef CVDR_COMMANDS_INFO_COMMAND_H
#define CVDR_COMMANDS_INFO_COMMAND_H

#include <ostream>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

// Writes the record's summary lines, a blank line, then one row per channel
// (analog, digital, logical, each in index order) with kind, index, name,
// unit, id, key, colour (#RRGGBB) and count: the transitions of a digital or
// logical channel, the invalid ranges of an analog one.
void WriteInfo(DisturbanceDataReader& reader, std::ostream& out);

}  // namespace cvdr

#endif
