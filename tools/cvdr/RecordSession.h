// One run of a command on one record: load the plug-in, read the record
// through it, write the command's output.
#ifndef CVDR_RECORD_SESSION_H
#define CVDR_RECORD_SESSION_H

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "host/Plugin.h"
#include "host/Record.h"
#include "host/RecordReader.h"

namespace cvdr {

struct RecordRequest {
    host::RecordSource source;  // as the user typed it
    std::string plugin;         // empty: the usual search (host/PluginPath.h)
};

using RecordWriter = std::function<void(host::Record& record, std::ostream& out)>;

// Loads the plug-in and reads the record, then passes it and standard output
// to `write`, which may take the record over. Returns the exit status; every failure has been reported on
// standard error in one line.
int RunOnRecord(const RecordRequest& request, const host::ReadOptions& options, const RecordWriter& write);

// Loads the plug-in at `path` (or found by the usual search when empty);
// null after reporting the reason on standard error.
std::shared_ptr<host::Plugin> LoadPlugin(const std::string& path);

}  // namespace cvdr

#endif
