#include "commands/ExportCommand.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "ExitStatus.h"
#include "batch/BatchRun.h"
#include "formats/NumberText.h"
#include "formats/OutputFile.h"
#include "formats/comtrade/ComtradeWriter.h"
#include "formats/csv/CsvWriter.h"
#include "host/ChannelSelection.h"
#include "host/TimeAxis.h"

namespace cvdr {
namespace {

namespace fs = std::filesystem;

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        ReportError(folder + ": cannot create the output folder" + (error ? ": " + error.message() : ""));
        return false;
    }
    return true;
}

void ExportCsv(const host::Record& record, const std::string& path) {
    OutputSet outputs;
    outputs.Add(path);
    OutputFile file(path);
    WriteCsv(record, file);
    file.Close();
    outputs.Keep();
}

std::vector<std::string> Extensions(const ExportRequest& request) {
    if (request.target == ExportTarget::kCsv) return {".csv"};
    if (request.format.combined) return {".cff"};
    return {".cfg", ".dat", ".hdr"};
}

// The record cut to the channels and the window asked for.
host::Record Selected(const host::Record& record, const ExportRequest& request) {
    const std::vector<host::ChannelRef> channels = host::MatchChannels(record, request.channels);
    if (!request.from && !request.to) return host::CutRecord(record, channels, {0, 0, 0, record.sampleCount == 0 ? 0 : record.sampleCount - 1});
    if (!host::HasTimeAxis(record)) throw std::runtime_error("the record has no samples to cut a window from");
    const std::optional<host::TimeWindow> window = host::SelectWindow(record, request.from, request.to);
    if (!window) {
        throw std::runtime_error("no samples between " + NumberText(request.from.value_or(record.sampleTimes.front())) +
                                 " ms and " + NumberText(request.to.value_or(record.sampleTimes.back())) + " ms");
    }
    return host::CutRecord(record, channels, *window);
}

// Writes one record's outputs below the output folder, mirroring where the
// record lies; `written` maps each output of the run to its record.
void ExportOne(const ExportRequest& request, const host::Record& whole, const FoundRecord& found,
               std::map<std::string, std::string>& written) {
    const fs::path relative = fs::path(found.relative);
    const fs::path folder = fs::path(request.outputFolder) / relative.parent_path();
    const std::string stem = relative.stem().empty() ? "record" : relative.stem().string();
    for (const std::string& extension : Extensions(request)) {
        const std::string path = (folder / (stem + extension)).string();
        const auto earlier = written.find(path);
        if (earlier != written.end()) throw std::runtime_error(path + " was written for " + earlier->second + " in this run");
        if (!request.force && fs::exists(path)) throw std::runtime_error(path + " exists; left as it was (--force replaces it)");
    }
    std::optional<host::Record> cut;
    if (!request.channels.empty() || request.from || request.to) cut = Selected(whole, request);
    const host::Record& record = cut ? *cut : whole;
    fs::create_directories(folder);
    for (const std::string& extension : Extensions(request)) written[(folder / (stem + extension)).string()] = found.path;
    if (request.target == ExportTarget::kCsv) {
        ExportCsv(record, (folder / (stem + ".csv")).string());
    } else {
        comtrade::WriteComtrade(record, request.format,
                                {folder.string(), stem, fs::path(found.path).filename().string()});
    }
}

}  // namespace

int RunExport(const ExportRequest& request) {
    if (!MakeFolder(request.outputFolder)) return kExitFailure;
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request.record.plugin);
    if (!plugin) return kExitFailure;
    std::map<std::string, std::string> written;
    const host::RecordSource& source = request.record.source;
    return RunOnRecords(*plugin, {request.inputs, source.language, source.options, request.verbose},
                        [&](const host::Record& record, const FoundRecord& found) {
                            ExportOne(request, record, found, written);
                        });
}

}  // namespace cvdr
