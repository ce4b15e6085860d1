// The cvdr-analysis/1 document (docs/analysis-format.md): a record's
// analysis (analysis/RecordAnalysis.h) as one JSON object.
#ifndef CVDR_FORMATS_JSON_ANALYSIS_WRITER_H
#define CVDR_FORMATS_JSON_ANALYSIS_WRITER_H

#include <ostream>

#include "analysis/RecordAnalysis.h"
#include "host/Record.h"

namespace cvdr {

// Writes the document and a line feed to `out`.
void WriteAnalysisJson(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out);

}  // namespace cvdr

#endif
