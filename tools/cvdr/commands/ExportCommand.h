// cvdr export: records to COMTRADE files or CSV tables in an output folder,
// one set of files per record, named after the record's file and placed as
// the record lies below the folder named on the command line.
#ifndef CVDR_COMMANDS_EXPORT_COMMAND_H
#define CVDR_COMMANDS_EXPORT_COMMAND_H

#include <optional>
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
    std::vector<std::string> channels;  // patterns (host/ChannelSelection.h); empty: all
    std::optional<double> from;         // ms relative to the trigger
    std::optional<double> to;
    bool force = false;    // replace existing output files
    bool verbose = false;  // list the files skipped as not records
};

// Returns the exit status; failures have been reported. An existing output
// file is replaced only with `force`; else the record fails and the file
// stays as it was.
int RunExport(const ExportRequest& request);

}  // namespace cvdr

#endif
