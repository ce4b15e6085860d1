// cvdr view: records as interactive pages, one self-contained HTML file per
// record (view/ViewPage.h) that a browser opens from disk.
#ifndef CVDR_COMMANDS_VIEW_COMMAND_H
#define CVDR_COMMANDS_VIEW_COMMAND_H

#include <string>
#include <vector>

#include "RecordSession.h"
#include "batch/RecordFinder.h"

namespace cvdr {

struct ViewRequest {
    std::vector<std::string> inputs;  // files and folders
    // The page, when the one input is a file; else a folder that gets one
    // <stem>.html per record, below the same subfolders as in the input folder.
    std::string output;
    bool force = false;    // replace pages that exist; else such a record fails and the page stays
    RecordRequest record;  // plug-in, language, options; the file is unused
};

// Returns the exit status; failures have been reported.
int RunView(const ViewRequest& request);

// Where the page of a record goes: `output` for a single file input; else
// below `output` as the record lies below the input folder it was found in
// (directly in it when named as a file), with ".html" for its extension. Two
// records of one page fail the second, as in `cvdr export`.
std::string PagePath(const ViewRequest& request, const FoundRecord& found);

}  // namespace cvdr

#endif
