// One command over many records: the records are found (RecordFinder.h),
// read through the plug-in and handled one after another. A record that
// fails gets one line on standard error and the run goes on; at the end one
// line on standard output sums up the run, and the exit status tells
// whether anything failed. A progress bar shows on a terminal.
#ifndef CVDR_BATCH_BATCH_RUN_H
#define CVDR_BATCH_BATCH_RUN_H

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "batch/RecordFinder.h"
#include "host/AnalogSampleReader.h"
#include "host/Plugin.h"
#include "host/Record.h"

namespace cvdr {

// Handles one record; throws std::exception to fail it.
using RecordAction = std::function<void(const host::Record& record, const FoundRecord& file)>;
// The same for a record read without its analog samples, which `samples`
// reads from the record still open.
using OpenRecordAction = std::function<void(const host::Record& record, const host::AnalogSampleReader& samples,
                                            const FoundRecord& file)>;

struct BatchRequest {
    std::vector<std::string> inputs;  // files and folders
    std::string language;
    std::string options;
    bool verbose = false;  // list the files skipped as not records
    // Where the closing lines go; standard error for commands whose
    // standard output is their result.
    std::ostream* summary = &std::cout;
};

// Loads every record and hands it to `action`, then writes
// "N records: W written, F failed, S skipped (not records)". Returns
// kExitSuccess, or kExitFailure when a folder or any record failed.
int RunOnRecords(const host::Plugin& plugin, const BatchRequest& request, const RecordAction& action);
// RunOnRecords for writers that walk the samples once and need no copy of them.
int RunOnOpenRecords(const host::Plugin& plugin, const BatchRequest& request, const OpenRecordAction& action);

}  // namespace cvdr

#endif
