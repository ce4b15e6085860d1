#include "commands/ExportCommand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "formats/csv/CsvWriter.h"
#include "ExitStatus.h"
#include "formats/OutputFile.h"
#include "batch/BatchRun.h"
#include "formats/comtrade/ComtradeWriter.h"

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

void ExportCsv(DisturbanceDataReader& reader, const std::string& path) {
    OutputSet outputs;
    outputs.Add(path);
    OutputFile file(path);
    WriteCsv(reader, file);
    file.Close();
    outputs.Keep();
}

}  // namespace

std::string OutputNames::Take(const std::string& recordFile) {
    std::string stem = fs::path(recordFile).stem().string();
    if (stem.empty()) stem = "record";
    std::string name = stem;
    for (int suffix = 2; std::find(m_taken.begin(), m_taken.end(), name) != m_taken.end(); ++suffix) {
        name = stem + "_" + std::to_string(suffix);
    }
    m_taken.push_back(name);
    return name;
}

int RunExport(const ExportRequest& request) {
    if (!MakeFolder(request.outputFolder)) return kExitFailure;
    OutputNames names;
    return RunOnRecords(request.inputs, request.record,
                        [&](DisturbanceDataReader& reader, const std::string& file) {
                            const std::string stem = names.Take(file);
                            if (request.target == ExportTarget::kCsv) {
                                ExportCsv(reader, request.outputFolder + "/" + stem + ".csv");
                            } else {
                                const comtrade::ComtradeTarget target{request.outputFolder, stem,
                                                                      fs::path(file).filename().string()};
                                comtrade::WriteComtrade(reader, request.format, target);
                            }
                        });
}

}  // namespace cvdr
