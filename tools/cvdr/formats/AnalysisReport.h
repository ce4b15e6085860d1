// A record's analysis as a report to read: the record's header, a table of
// the analog channels (extremes, peak, RMS), their fundamental phasors at
// each time, the three-phase groups' symmetrical components and the events.
#ifndef CVDR_FORMATS_ANALYSIS_REPORT_H
#define CVDR_FORMATS_ANALYSIS_REPORT_H

#include <optional>
#include <ostream>
#include <string>

#include "analysis/RecordAnalysis.h"
#include "host/Record.h"

namespace cvdr {

void WriteAnalysisReport(const host::Record& record, const analysis::RecordAnalysis& result,
                         std::ostream& out);

// A value for people: five significant digits without trailing zeros, no
// exponent from 1e-4 to 1e9; "-" for none.
std::string ReadableNumber(std::optional<double> value);

}  // namespace cvdr

#endif
