// The parts of DirectoryListing.h that are the same on every system, on top
// of the listing and the separators that each system has its own way.
#include <algorithm>
#include <string_view>

#include "platform/AsciiCase.h"
#include "platform/DirectoryListing.h"

namespace platform {

void SortInListingOrder(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string upperA = AsciiUpper(a), upperB = AsciiUpper(b);
        return upperA != upperB ? upperA < upperB : a < b;
    });
}

// Of names equal but for case, listing order puts the byte-wise smallest
// first, so that is the one taken.
std::string ResolveNameIgnoringCase(const std::string& path) {
    const size_t split = LastComponentStart(path);
    const std::string wanted = AsciiUpper(std::string_view(path).substr(split));
    if (wanted.empty()) return path;
    const std::string folder = path.substr(0, split);
    std::string found;
    for (const std::string& name : FolderEntries(folder)) {
        if (AsciiUpper(name) == wanted && (found.empty() || name < found)) found = name;
    }
    return found.empty() ? path : folder + found;
}

bool HasExtensionIgnoringCase(const std::string& name, const std::string& extension) {
    return name.size() >= extension.size() &&
           AsciiUpper(name.substr(name.size() - extension.size())) == AsciiUpper(extension);
}

std::string Extension(const std::string& path) {
    const size_t start = LastComponentStart(path);
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < start ? std::string() : path.substr(dot);
}

std::string PathWithoutExtension(const std::string& path) {
    return path.substr(0, path.size() - Extension(path).size());
}

}  // namespace platform
