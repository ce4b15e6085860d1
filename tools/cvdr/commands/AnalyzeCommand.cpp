#include "commands/AnalyzeCommand.h"

#include <iostream>
#include <stdexcept>

#include "ExitStatus.h"
#include "batch/BatchRun.h"
#include "formats/AnalysisReport.h"
#include "formats/csv/AnalysisTable.h"
#include "formats/json/AnalysisWriter.h"

namespace cvdr {

std::vector<std::string> ParsePhaseGroup(const std::string& text) {
    std::vector<std::string> names(1);
    for (char c : text) {
        if (c == ',') {
            names.emplace_back();
        } else {
            names.back() += c;
        }
    }
    for (const std::string& name : names) {
        if (names.size() != 3 || name.empty())
            throw std::runtime_error("--group takes three channel names separated by commas, not \"" + text +
                                     "\"");
    }
    return names;
}

int RunAnalyze(const AnalyzeRequest& request) {
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request.record.plugin);
    if (!plugin) return kExitFailure;
    std::ostream& out = std::cout;
    if (request.output == AnalysisOutput::kCsv) {
        out << AnalysisCsvHeader(analysis::PhasorTimes(request.analysis));
    }
    bool first = true;
    const host::RecordSource& source = request.record.source;
    BatchRequest batch{request.inputs, source.language, source.options};
    batch.summary = &std::cerr;
    int status = RunOnRecords(*plugin, batch, [&](const host::Record& record, const FoundRecord& file) {
        const analysis::RecordAnalysis result = analysis::AnalyzeRecord(record, request.analysis);
        if (request.output == AnalysisOutput::kJson) {
            WriteAnalysisJson(record, result, out);
        } else if (request.output == AnalysisOutput::kCsv) {
            out << AnalysisCsvRows(file.path, record, result);
        } else {
            if (!first) out << '\n';
            WriteAnalysisReport(record, result, out);
        }
        first = false;
    });
    out.flush();
    if (!out) {
        ReportError("cannot write to standard output");
        status = kExitFailure;
    }
    return status;
}

}  // namespace cvdr
