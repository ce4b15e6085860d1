// Reads a whole record through the host interfaces into a Record.
#ifndef DR_MVQ4_HOST_RECORD_READER_H
#define DR_MVQ4_HOST_RECORD_READER_H

#include <optional>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "host/Plugin.h"
#include "host/Record.h"

namespace host {

struct ReadOptions {
    bool samples = true;  // false: analog channels without values and validity
};

// Everything `reader` reports. Null texts read as empty.
Record ReadRecord(DisturbanceDataReader& reader, const ReadOptions& options = {});

// Opens the record, reads it and frees the reader before returning; none
// when the plug-in refuses the record.
std::optional<Record> LoadRecord(const Plugin& plugin, const RecordSource& source,
                                 const ReadOptions& options = {});

}  // namespace host

#endif
