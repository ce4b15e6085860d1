#include "RecordSession.h"

#include <iostream>
#include <optional>

#include "ExitStatus.h"
#include "commands/LoadDiagnosis.h"
#include "host/PluginPath.h"

namespace cvdr {

std::shared_ptr<host::Plugin> LoadPlugin(const std::string& path) {
    std::string error;
    std::shared_ptr<host::Plugin> plugin = host::Plugin::Load(host::FindPlugin(path), error);
    if (!plugin) ReportError(error);
    return plugin;
}

int RunOnRecord(const RecordRequest& request, const host::ReadOptions& options, const RecordWriter& write) {
    const std::shared_ptr<host::Plugin> plugin = LoadPlugin(request.plugin);
    if (!plugin) return kExitFailure;
    std::optional<host::Record> record = host::LoadRecord(*plugin, request.source, options);
    if (!record) {
        ReportError(LoadFailureMessage(request.source.file));
        return kExitFailure;
    }
    write(*record, std::cout);
    std::cout.flush();
    if (!std::cout) {
        ReportError("cannot write to standard output");
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace cvdr
