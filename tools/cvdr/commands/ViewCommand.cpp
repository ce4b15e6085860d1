#include "commands/ViewCommand.h"

#include <filesystem>
#include <map>
#include <stdexcept>
#include <system_error>

#include "ExitStatus.h"
#include "batch/BatchRun.h"
#include "formats/OutputFile.h"
#include "view/ViewPage.h"

namespace cvdr {
namespace {

namespace fs = std::filesystem;

bool SingleFile(const ViewRequest& request) {
    std::error_code error;
    return request.inputs.size() == 1 && !fs::is_directory(request.inputs.front(), error);
}

}  // namespace

std::string PagePath(const ViewRequest& request, const FoundRecord& found) {
    if (SingleFile(request)) return request.output;
    fs::path relative(found.relative);
    if (relative.stem().empty()) relative.replace_filename("record");
    return (fs::path(request.output) / relative.replace_extension(".html")).string();
}

int RunView(const ViewRequest& request) {
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request.record.plugin);
    if (!plugin) return kExitFailure;
    std::map<std::string, std::string> written;  // page -> record, in this run
    const host::RecordSource& source = request.record.source;
    return RunOnRecords(*plugin, {request.inputs, source.language, source.options, false},
                        [&](const host::Record& record, const FoundRecord& found) {
                            const std::string path = PagePath(request, found);
                            const auto earlier = written.find(path);
                            if (earlier != written.end()) {
                                throw std::runtime_error(path + " was written for " + earlier->second + " in this run");
                            }
                            if (!request.force && fs::exists(path)) {
                                throw std::runtime_error(path + " exists; left as it was (--force replaces it)");
                            }
                            written[path] = found.path;
                            const fs::path folder = fs::path(path).parent_path();
                            if (!folder.empty()) fs::create_directories(folder);
                            OutputSet outputs;
                            outputs.Add(path);
                            OutputFile file(path);
                            view::WritePage(record, file.Stream());
                            file.Close();
                            outputs.Keep();
                        });
}

}  // namespace cvdr
