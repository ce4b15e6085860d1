// cvdr export: records to COMTRADE files or CSV tables in an output folder,
// one set of files per record, named after the record's file.
#ifndef CVDR_COMMANDS_EXPORT_COMMAND_H
#define CVDR_COMMANDS_EXPORT_COMMAND_H

#include <string>
#include <vector>

#include "RecordSession.h"
#include "formats/comtrade/ComtradeFormat.h"

namespace cvdr {

enum class ExportTarget { kComtrade, kCsv };

struct ExportRequest {
    std::vector<std::string> inputs;  // files and folders
    std::string outputFolder;         // created when missing
    ExportTarget target = ExportTarget::kComtrade;
    comtrade::ExportFormat format;
    RecordRequest record;  // plug-in, language, options; the file is unused
};

// Returns the exit status; failures have been reported.
int RunExport(const ExportRequest& request);

}  // namespace cvdr

#endif
