#include "batch/BatchRun.h"

#include <exception>
#include <functional>
#include <iostream>

#include "ExitStatus.h"
#include "batch/ProgressBar.h"
#include "commands/LoadDiagnosis.h"
#include "host/RecordReader.h"

namespace cvdr {
namespace {

// What is done with one open record; may free it early.
using ReaderAction = std::function<void(host::ReaderHandle& reader, const FoundRecord& file)>;

// Opens and handles one record; false after reporting why it failed.
bool RunOne(const host::Plugin& plugin, const host::RecordSource& source, const FoundRecord& file,
            const ReaderAction& action, ProgressBar& progress) {
    try {
        host::ReaderHandle reader = plugin.Open(source);
        if (!reader) {
            progress.Clear();
            ReportError(LoadFailureMessage(source.file));
            return false;
        }
        action(reader, file);
        return true;
    } catch (const std::exception& error) {
        progress.Clear();
        ReportError(source.file + ": " + error.what());
        return false;
    }
}

int RunOnReaders(const host::Plugin& plugin, const BatchRequest& request, const ReaderAction& action) {
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

}  // namespace

int RunOnRecords(const host::Plugin& plugin, const BatchRequest& request, const RecordAction& action) {
    return RunOnReaders(plugin, request, [&](host::ReaderHandle& reader, const FoundRecord& file) {
        const host::Record record = host::ReadRecord(*reader);
        reader.Reset();  // the copy is all the action needs
        action(record, file);
    });
}

int RunOnOpenRecords(const host::Plugin& plugin, const BatchRequest& request, const OpenRecordAction& action) {
    return RunOnReaders(plugin, request, [&](host::ReaderHandle& reader, const FoundRecord& file) {
        const host::Record record = host::ReadRecord(*reader, host::ReadOptions{false});
        const host::AnalogSampleReader samples(*reader, record);
        action(record, samples, file);
    });
}

}  // namespace cvdr
