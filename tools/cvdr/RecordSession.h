// One run of a command on one record: load the plug-in, open the record,
// write the command's output, free the record.
#ifndef CVDR_RECORD_SESSION_H
#define CVDR_RECORD_SESSION_H

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "host/Plugin.h"

namespace cvdr {

// What the create call is given, as the user typed it (UTF-8).
struct RecordRequest {
    std::string file;
    std::string language = "ENG";
    std::string options;
    std::string plugin;  // empty: the usual search (host/PluginPath.h)
};

using RecordWriter = std::function<void(DisturbanceDataReader& reader, std::ostream& out)>;

// Loads the plug-in and the record, passes the reader and standard output to
// `write`, then frees the reader. Returns the exit status; every failure has
// been reported on standard error in one line.
int RunOnRecord(const RecordRequest& request, const RecordWriter& write);

// Loads the plug-in the request names (or finds); null after reporting the
// reason on standard error.
std::shared_ptr<host::Plugin> LoadPlugin(const RecordRequest& request);

// "FILE: cannot load the record", with what the file system tells about the
// file when it tells anything ("No such file or directory", "is a folder").
std::string LoadFailure(const std::string& file);

}  // namespace cvdr

#endif
