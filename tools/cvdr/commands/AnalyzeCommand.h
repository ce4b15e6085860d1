// cvdr analyze: per record the numbers an engineer asks first (extremes,
// RMS, fundamental phasors, symmetrical components, events) as a readable
// report, cvdr-analysis/1 JSON documents or one CSV table for the run.
#ifndef CVDR_COMMANDS_ANALYZE_COMMAND_H
#define CVDR_COMMANDS_ANALYZE_COMMAND_H

#include <string>
#include <vector>

#include "RecordSession.h"
#include "analysis/RecordAnalysis.h"

namespace cvdr {

enum class AnalysisOutput { kText, kJson, kCsv };

struct AnalyzeRequest {
    std::vector<std::string> inputs;  // files and folders
    RecordRequest record;             // plug-in, language, options; the file is unused
    analysis::AnalysisRequest analysis;
    AnalysisOutput output = AnalysisOutput::kText;
};

// "A,B,C" as the three names of a phase group; throws std::runtime_error
// when it does not hold three non-empty names.
std::vector<std::string> ParsePhaseGroup(const std::string& text);

// Writes to standard output: reports separated by a blank line, one JSON
// document per record, or the CSV header and every record's rows. Returns
// the exit status; failures have been reported.
int RunAnalyze(const AnalyzeRequest& request);

}  // namespace cvdr

#endif
