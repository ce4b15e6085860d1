#include "commands/ExportCommand.h"

#include <filesystem>
#include <system_error>

#include "ExitStatus.h"
#include "batch/BatchRun.h"
#include "commands/OutputNames.h"
#include "formats/OutputFile.h"
#include "formats/comtrade/ComtradeWriter.h"
#include "formats/csv/CsvWriter.h"

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

}  // namespace

int RunExport(const ExportRequest& request) {
    if (!MakeFolder(request.outputFolder)) return kExitFailure;
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request.record.plugin);
    if (!plugin) return kExitFailure;
    OutputNames names;
    const host::RecordSource& source = request.record.source;
    return RunOnRecords(*plugin, request.inputs, source.language, source.options,
                        [&](const host::Record& record, const std::string& file) {
                            const std::string stem = names.Take(file);
                            if (request.target == ExportTarget::kCsv) {
                                ExportCsv(record, request.outputFolder + "/" + stem + ".csv");
                            } else {
                                const comtrade::ComtradeTarget target{request.outputFolder, stem,
                                                                      fs::path(file).filename().string()};
                                comtrade::WriteComtrade(record, request.format, target);
                            }
                        });
}

}  // namespace cvdr
