// A record as one CSV table (RFC 4180, UTF-8, CR LF line ends): a time
// column in ms relative to the trigger, one column per analog channel
// ("name [unit]") and logical channel (its state text), then one per digital
// channel (1 high, 0 low). A cell is empty where its sample is invalid;
// numbers are in their shortest round-trip form.
#ifndef CVDR_FORMATS_CSV_CSV_WRITER_H
#define CVDR_FORMATS_CSV_CSV_WRITER_H

#include <string>
#include <string_view>

#include "formats/OutputFile.h"
#include "host/AnalogSampleReader.h"
#include "host/Record.h"

namespace cvdr {

// Writes the table to `out` 64 KiB at a time, the analog values read from
// `samples` as it goes.
void WriteCsv(const host::Record& record, const host::AnalogSampleReader& samples, OutputFile& out);

// Appends one cell, quoted when it holds a comma, a quote or a line end.
void AppendCsvField(std::string& row, std::string_view text);

}  // namespace cvdr

#endif
