#include "batch/BatchRun.h"

#include <exception>
#include <iostream>
#include <optional>

#include "ExitStatus.h"
#include "batch/ProgressBar.h"
#include "commands/LoadDiagnosis.h"
#include "host/RecordReader.h"

namespace cvdr {
namespace {

// Loads and handles one record; false after reporting why it failed.
bool RunOne(const host::Plugin& plugin, const host::RecordSource& source, const FoundRecord& file,
            const RecordAction& action, ProgressBar& progress) {
    try {
        const std::optional<host::Record> record = host::LoadRecord(plugin, source);
        if (!record) {
            progress.Clear();
            ReportError(LoadFailureMessage(source.file));
            return false;
        }
        action(*record, file);
        return true;
    } catch (const std::exception& error) {
        progress.Clear();
        ReportError(source.file + ": " + error.what());
        return false;
    }
}

}  // namespace

int RunOnRecords(const host::Plugin& plugin, const BatchRequest& request, const RecordAction& action) {
    const FoundRecords found = FindRecords(request.inputs);
    for (const std::string& problem : found.problems) ReportError(problem);
    size_t failed = 0;
    ProgressBar progress(found.files.size());
    for (size_t i = 0; i < found.files.size(); ++i) {
        const FoundRecord& file = found.files[i];
        progress.Show(i, file.path);
        if (!RunOne(plugin, {file.path, request.language, request.options}, file, action, progress)) ++failed;
    }
    progress.Show(found.files.size(), "");
    progress.Clear();
    std::ostream& out = *request.summary;
    if (request.verbose) {
        for (const std::string& skipped : found.skipped) out << "skipped (not a record): " << skipped << '\n';
    }
    out << found.files.size() + found.skipped.size() << " records: " << found.files.size() - failed
        << " written, " << failed << " failed, " << found.skipped.size() << " skipped (not records)\n";
    out.flush();
    return failed > 0 || !found.problems.empty() ? kExitFailure : kExitSuccess;
}

}  // namespace cvdr
