#include "RecordSession.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "ExitStatus.h"
#include "host/Plugin.h"
#include "host/PluginPath.h"

namespace cvdr {
namespace {

// Why a record may have failed to load, as far as the file system tells;
// empty when the file is there and readable (the content is at fault then).
std::string FileProblem(const std::string& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return std::strerror(errno);
    if (S_ISDIR(status.st_mode)) return "is a folder";
    return "";
}

int WriteOutput(DisturbanceDataReader& reader, const RecordWriter& write) {
    write(reader, std::cout);
    std::cout.flush();
    if (!std::cout) {
        ReportError("cannot write to standard output");
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

std::string LoadFailure(const std::string& file) {
    const std::string problem = FileProblem(file);
    return file + ": cannot load the record" + (problem.empty() ? "" : ": " + problem);
}

std::shared_ptr<host::Plugin> LoadPlugin(const RecordRequest& request) {
    std::string error;
    std::shared_ptr<host::Plugin> plugin = host::Plugin::Load(host::FindPlugin(request.plugin), error);
    if (!plugin) ReportError(error);
    return plugin;
}

int RunOnRecord(const RecordRequest& request, const RecordWriter& write) {
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request);
    if (!plugin) return kExitFailure;
    const host::ReaderHandle reader = plugin->Open({request.file, request.language, request.options});
    if (!reader) {
        ReportError(LoadFailure(request.file));
        return kExitFailure;
    }
    return WriteOutput(*reader, write);
}

}  // namespace cvdr
