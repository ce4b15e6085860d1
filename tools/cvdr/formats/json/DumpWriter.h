// The cvdr-dump/1 document (docs/dump-format.md): everything the host
// interfaces tell about a record, as one JSON object.
#ifndef CVDR_FORMATS_JSON_DUMP_WRITER_H
#define CVDR_FORMATS_JSON_DUMP_WRITER_H

#include <ostream>

#include "host/Record.h"

namespace cvdr {

struct DumpOptions {
    bool samples = true;  // false: analog channels without "values" and "validity"
};

// Writes the dump of `record` and a line feed to `out`. Stops early, leaving
// the output incomplete, once `out` has failed.
void WriteDump(const host::Record& record, const DumpOptions& options, std::ostream& out);

}  // namespace cvdr

#endif
