// `cvdr dump --json`: everything the host interfaces tell about a record, as
// one JSON object in the cvdr-dump/1 layout.
#ifndef CVDR_FORMATS_JSON_DUMP_WRITER_H
#define CVDR_FORMATS_JSON_DUMP_WRITER_H

#include <ostream>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

struct DumpOptions {
    bool samples = true;  // false: analog channels without "values" and "validity"
};

// Writes the dump of `reader` and a line feed to `out`. Stops early, leaving
// the output incomplete, once `out` has failed.
void WriteDump(DisturbanceDataReader& reader, const DumpOptions& options, std::ostream& out);

}  // namespace cvdr

#endif
