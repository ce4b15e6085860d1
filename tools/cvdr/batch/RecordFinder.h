// The records a command works on: files named on the command line, and the
// records found in named folders and their subfolders.
//
// Inside folders a record is known by its content, not its name: a record
// document starts, after an optional UTF-8 byte-order mark and white space,
// with '<' and names the <DistFile> element near its start; a record
// container starts with "PK". Other files there are skipped and listed.
// A file named on the command line is always tried.
#ifndef CVDR_BATCH_RECORD_FINDER_H
#define CVDR_BATCH_RECORD_FINDER_H

#include <string>
#include <string_view>
#include <vector>

namespace cvdr {

// Whether `head`, the first bytes of a file, is the start of a record.
bool LooksLikeRecord(std::string_view head);

struct FoundRecord {
    std::string path;
    // Where its outputs go below the output folder: the path below the
    // folder named on the command line ("sub/a.xml"), or the file's name
    // for a file named there.
    std::string relative;
};

struct FoundRecords {
    std::vector<FoundRecord> files;     // in the order named; each folder's records sorted by path
    std::vector<std::string> skipped;   // files in folders that are not records
    std::vector<std::string> problems;  // "FOLDER: ..." for a folder that cannot be read or holds no record
};

FoundRecords FindRecords(const std::vector<std::string>& inputs);

}  // namespace cvdr

#endif
