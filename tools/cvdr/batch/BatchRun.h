// One command over many records: the records are found (RecordFinder.h),
// read through the plug-in and handled one after another. A record that
// fails gets one line on standard error and the run goes on; the exit
// status tells whether any failed. A progress bar shows on a terminal.
#ifndef CVDR_BATCH_BATCH_RUN_H
#define CVDR_BATCH_BATCH_RUN_H

#include <functional>
#include <string>
#include <vector>

#include "host/Plugin.h"
#include "host/Record.h"

namespace cvdr {

// Handles one record; throws std::exception to fail it.
using RecordAction = std::function<void(const host::Record& record, const std::string& file)>;

// Loads every record with the language code and option string given.
// Returns kExitSuccess, or kExitFailure when a folder or any record failed.
int RunOnRecords(const host::Plugin& plugin, const std::vector<std::string>& inputs,
                 const std::string& language, const std::string& options, const RecordAction& action);

}  // namespace cvdr

#endif
