#include "commands/OutputNames.h"

#include <algorithm>
#include <filesystem>

namespace cvdr {

std::string OutputNames::Take(const std::string& recordFile) {
    std::string stem = std::filesystem::path(recordFile).stem().string();
    if (stem.empty()) stem = "record";
    std::string name = stem;
    for (int suffix = 2; std::find(m_taken.begin(), m_taken.end(), name) != m_taken.end(); ++suffix) {
        name = stem + "_" + std::to_string(suffix);
    }
    m_taken.push_back(name);
    return name;
}

}  // namespace cvdr
