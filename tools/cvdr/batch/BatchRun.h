// One command over many records: the plug-in is loaded once, the records
// are found (batch/RecordFinder.h) and handled one after another. A record
// that fails gets one line on standard error and the run goes on; the exit
// status tells whether any failed. A progress bar shows on a terminal.
#ifndef CVDR_BATCH_BATCH_RUN_H
#define CVDR_BATCH_BATCH_RUN_H

#include <functional>
#include <string>
#include <vector>

#include "RecordSession.h"
#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

// Handles one loaded record; throws std::exception to fail it.
using RecordAction = std::function<void(DisturbanceDataReader& reader, const std::string& file)>;

// `request` gives the plug-in, language and options (its file is unused).
// Returns kExitSuccess, or kExitFailure when the plug-in, a folder or any
// record failed.
int RunOnRecords(const std::vector<std::string>& inputs, const RecordRequest& request,
                 const RecordAction& action);

}  // namespace cvdr

#endif
