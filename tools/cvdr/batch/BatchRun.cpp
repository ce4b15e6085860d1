#include "batch/BatchRun.h"

#include <exception>

#include "ExitStatus.h"
#include "host/Plugin.h"
#include "batch/ProgressBar.h"
#include "batch/RecordFinder.h"

namespace cvdr {
namespace {

// Loads and handles one record; false after reporting why it failed.
bool RunOne(const host::Plugin& plugin, const std::string& file, const RecordRequest& request,
            const RecordAction& action, ProgressBar& progress) {
    const host::ReaderHandle reader = plugin.Open({file, request.language, request.options});
    if (!reader) {
        progress.Clear();
        ReportError(LoadFailure(file));
        return false;
    }
    try {
        action(*reader, file);
        return true;
    } catch (const std::exception& error) {
        progress.Clear();
        ReportError(file + ": " + error.what());
        return false;
    }
}

}  // namespace

int RunOnRecords(const std::vector<std::string>& inputs, const RecordRequest& request,
                 const RecordAction& action) {
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request);
    if (!plugin) return kExitFailure;
    const FoundRecords found = FindRecords(inputs);
    for (const std::string& problem : found.problems) ReportError(problem);
    bool failed = !found.problems.empty();
    ProgressBar progress(found.files.size());
    for (size_t i = 0; i < found.files.size(); ++i) {
        progress.Show(i, found.files[i]);
        if (!RunOne(*plugin, found.files[i], request, action, progress)) failed = true;
    }
    progress.Show(found.files.size(), "");
    progress.Clear();
    return failed ? kExitFailure : kExitSuccess;
}

}  // namespace cvdr
