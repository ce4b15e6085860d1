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
#include "host/AnalogSampleReader.h"
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

void ExportCsv(const host::Record& record, const host::AnalogSampleReader& samples, const std::string& path) {
    OutputSet outputs;
    outputs.Add(path);
    OutputFile file(path);
    WriteCsv(record, samples, file);
    file.Close();
    outputs.Keep();
}

std::vector<std::string> Extensions(const ExportRequest& request) {
    if (request.target == ExportTarget::kCsv) return {".csv"};
    if (request.format.combined) return {".cff"};
    return {".cfg", ".dat", ".hdr"};
}

// The channels and the window asked for.
struct Selection {
    std::vector<host::ChannelRef> channels;
    host::TimeWindow window;
};

Selection Select(const host::Record& record, const ExportRequest& request) {
    Selection selection{host::MatchChannels(record, request.channels),
                        {0, 0, 0, record.sampleCount == 0 ? 0 : record.sampleCount - 1}};
    if (!request.from && !request.to) return selection;
    if (!host::HasTimeAxis(record)) throw std::runtime_error("the record has no samples to cut a window from");
    const std::optional<host::TimeWindow> window = host::SelectWindow(record, request.from, request.to);
    if (!window) {
        throw std::runtime_error("no samples between " + NumberText(request.from.value_or(record.sampleTimes.front())) +
                                 " ms and " + NumberText(request.to.value_or(record.sampleTimes.back())) + " ms");
    }
    selection.window = *window;
    return selection;
}

// The record's analog channels among `channels`, in order.
std::vector<size_t> AnalogChannels(const std::vector<host::ChannelRef>& channels) {
    std::vector<size_t> analog;
    for (const host::ChannelRef& ref : channels) {
        if (ref.kind == host::ChannelKind::kAnalog) analog.push_back(ref.index);
    }
    return analog;
}

// Writes one record's outputs below the output folder, mirroring where the
// record lies; `written` maps each output of the run to its record.
void ExportOne(const ExportRequest& request, const host::Record& whole, const host::AnalogSampleReader& wholeSamples,
               const FoundRecord& found, std::map<std::string, std::string>& written) {
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
    std::optional<host::AnalogSampleReader> cutSamples;
    if (!request.channels.empty() || request.from || request.to) {
        const Selection selection = Select(whole, request);
        cut = host::CutRecord(whole, selection.channels, selection.window);
        cutSamples.emplace(wholeSamples.Cut(*cut, AnalogChannels(selection.channels), selection.window.firstSample));
    }
    const host::Record& record = cut ? *cut : whole;
    const host::AnalogSampleReader& samples = cut ? *cutSamples : wholeSamples;
    fs::create_directories(folder);
    for (const std::string& extension : Extensions(request)) written[(folder / (stem + extension)).string()] = found.path;
    if (request.target == ExportTarget::kCsv) {
        ExportCsv(record, samples, (folder / (stem + ".csv")).string());
    } else {
        comtrade::WriteComtrade(record, samples, request.format,
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
    return RunOnOpenRecords(*plugin, {request.inputs, source.language, source.options, request.verbose},
                            [&](const host::Record& record, const host::AnalogSampleReader& samples,
                                const FoundRecord& found) { ExportOne(request, record, samples, found, written); });
}

}  // namespace cvdr
