// Analyses of many records as one CSV table for archives (RFC 4180, UTF-8,
// CR LF): one row per record and analog channel.
#ifndef CVDR_FORMATS_CSV_ANALYSIS_TABLE_H
#define CVDR_FORMATS_CSV_ANALYSIS_TABLE_H

#include <string>
#include <vector>

#include "analysis/RecordAnalysis.h"
#include "host/Record.h"

namespace cvdr {

// file, trigger time, channel, unit, samples, min, max, peak, peak time
// [ms], rms, then a magnitude and an angle column per phasor time.
std::string AnalysisCsvHeader(const std::vector<double>& times);

// The rows of one record, `file` as the user named it. An empty cell
// stands for none.
std::string AnalysisCsvRows(const std::string& file, const host::Record& record,
                            const analysis::RecordAnalysis& result);

}  // namespace cvdr

#endif
