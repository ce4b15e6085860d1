#include "batch/BatchRun.h"

#include <exception>
#include <optional>

#include "ExitStatus.h"
#include "batch/ProgressBar.h"
#include "batch/RecordFinder.h"
#include "host/RecordReader.h"

namespace cvdr {
namespace {

// Loads and handles one record; false after reporting why it failed.
bool RunOne(const host::Plugin& plugin, const host::RecordSource& source, const RecordAction& action,
            ProgressBar& progress) {
    try {
        const std::optional<host::Record> record = host::LoadRecord(plugin, source);
        if (!record) {
            progress.Clear();
            ReportError(host::LoadFailure(source.file));
            return false;
        }
        action(*record, source.file);
        return true;
    } catch (const std::exception& error) {
        progress.Clear();
        ReportError(source.file + ": " + error.what());
        return false;
    }
}

}  // namespace

int RunOnRecords(const host::Plugin& plugin, const std::vector<std::string>& inputs,
                 const std::string& language, const std::string& options, const RecordAction& action) {
    const FoundRecords found = FindRecords(inputs);
    for (const std::string& problem : found.problems) ReportError(problem);
    bool failed = !found.problems.empty();
    ProgressBar progress(found.files.size());
    for (size_t i = 0; i < found.files.size(); ++i) {
        progress.Show(i, found.files[i]);
        if (!RunOne(plugin, {found.files[i], language, options}, action, progress)) failed = true;
    }
    progress.Show(found.files.size(), "");
    progress.Clear();
    return failed ? kExitFailure : kExitSuccess;
}

}  // namespace cvdr
