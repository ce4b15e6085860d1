// Names of a run's output files, one per record.
#ifndef CVDR_COMMANDS_OUTPUT_NAMES_H
#define CVDR_COMMANDS_OUTPUT_NAMES_H

#include <string>
#include <vector>

namespace cvdr {

// The record file's name without its extension ("record" when that is
// empty); a name already taken in this run gets "_2", "_3", ... appended.
class OutputNames {
public:
    std::string Take(const std::string& recordFile);

private:
    std::vector<std::string> m_taken;
};

}  // namespace cvdr

#endif
