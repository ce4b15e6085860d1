#include "container/DeviceModelCandidate.h"

#include <algorithm>
#include <sstream>

#include "platform/DirectoryListing.h"

namespace container {
namespace {

const char* const kContainerExtension = ".DeCon";
const char* const kModelExtension = ".dm";
const char* const kCompressedModelExtension = ".dm_c";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

// A version field without "_Download" and what follows, or else without a
// remark from "(" or ")" on.
std::string CutVersionField(const std::string& field) {
    for (const char* marker : {"_Download", "(", ")"}) {
        const size_t at = field.find(marker);
        if (at != std::string::npos) return field.substr(0, at);
    }
    return field;
}

char LineLetter(int productLine) { return productLine == 1 ? 'M' : productLine == 2 ? 'X' : 'W'; }

}  // namespace

bool IsNewStyleVersion(const std::string& version) {
    return version.size() >= 9 && (version[4] == '.' || version[8] == '.') && IsDigit(version[0]) &&
           IsDigit(version[1]) && IsDigit(version[2]);
}

int ProductLine(const std::string& deviceName, const std::string& deviceVersion) {
    if (IsNewStyleVersion(deviceVersion)) {
        const char first = deviceName.empty() ? '\0' : deviceName[0];
        return first == 'M' ? 1 : first == 'X' ? 2 : first == 'W' ? 3 : 0;
    }
    if (deviceName.find('3') == 3) return 5;
    if (deviceName.compare(0, 2, "ZO") == 0) return 4;
    return 0;
}

void DecodeModelFileName(const std::string& fileName, std::string& type, std::string& version) {
    const std::string base = platform::PathWithoutExtension(fileName);
    const size_t underscore = base.find('_');
    type = base.substr(0, underscore);
    std::string rest;
    if (underscore != std::string::npos) {
        const size_t marker = base.find('V', underscore + 1);
        if (marker != std::string::npos) rest = base.substr(marker + 1);
    }
    version.clear();
    for (const std::string& part : Split(rest, '.')) version += CutVersionField(part) + ".";
    if (!version.empty()) version.pop_back();
    if (version.empty()) {
        type = base;
        version = "?";
    }
}

DeviceModelCandidates::DeviceModelCandidates(std::string folderText, int productLine)
    : m_folderText(std::move(folderText)), m_productLine(productLine) {}

void DeviceModelCandidates::List() {
    for (const std::string& name : platform::ListFilesWithPrefix(m_folderText)) {
        if (platform::HasExtensionIgnoringCase(name, kContainerExtension)) Examine(name, true);
    }
    if (m_productLine != 0) return;
    for (const std::string& name : platform::ListFilesWithPrefix(m_folderText)) {
        const std::string extension = platform::Extension(name);
        if (platform::HasExtensionIgnoringCase(extension, kModelExtension) && extension.size() == 3) {
            Examine(name, false);
        } else if (platform::HasExtensionIgnoringCase(extension, kCompressedModelExtension) && extension.size() == 5) {
            Examine(name, false);
        }
    }
}

bool DeviceModelCandidates::HasTypeAndVersion(const std::string& type, const std::string& version) const {
    return std::any_of(m_candidates.begin(), m_candidates.end(), [&](const DeviceModelCandidate& candidate) {
        return candidate.type == type && candidate.version == version;
    });
}

void DeviceModelCandidates::Examine(const std::string& fileName, bool container) {
    DeviceModelCandidate candidate;
    DecodeModelFileName(fileName, candidate.type, candidate.version);
    candidate.fileName = fileName;
    candidate.fullPath = m_folderText + fileName;
    candidate.compressed = !container && platform::HasExtensionIgnoringCase(fileName, "_c");
    if (m_productLine >= 1 && m_productLine <= 3) {
        AddNewestOfLine(std::move(candidate));
    } else if (container || !HasTypeAndVersion(candidate.type, candidate.version)) {
        m_candidates.push_back(std::move(candidate));
    }
}

// Lines 1 to 3 key a file by the first two fields of a three-field version;
// a file replaces the last earlier one of the same key whose name is lower.
void DeviceModelCandidates::AddNewestOfLine(DeviceModelCandidate candidate) {
    const std::vector<std::string> fields = Split(candidate.version, '.');
    if (fields.size() < 3 || fields[2].empty()) return;
    candidate.version = fields[0] + "." + fields[1];
    for (auto it = m_candidates.rbegin(); it != m_candidates.rend(); ++it) {
        if (it->type == candidate.type && it->version == candidate.version && it->fileName < candidate.fileName) {
            m_candidates.erase(std::next(it).base());
            break;
        }
    }
    m_candidates.push_back(std::move(candidate));
}

void DeviceModelCandidates::Finish() {
    if (m_productLine >= 1 && m_productLine <= 3) {
        const char letter = LineLetter(m_productLine);
        m_candidates.erase(std::remove_if(m_candidates.begin(), m_candidates.end(),
                                          [letter](const DeviceModelCandidate& candidate) {
                                              return candidate.type.empty() || candidate.type[0] != letter;
                                          }),
                           m_candidates.end());
    }
    std::stable_sort(m_candidates.begin(), m_candidates.end(),
                     [](const DeviceModelCandidate& a, const DeviceModelCandidate& b) {
                         return a.type + a.version < b.type + b.version;
                     });
}

const DeviceModelCandidate* DeviceModelCandidates::Select(const std::string& deviceName,
                                                          const std::string& deviceVersion) const {
    for (const DeviceModelCandidate& candidate : m_candidates) {
        if (candidate.type == deviceName && candidate.version == deviceVersion) return &candidate;
    }
    return nullptr;
}

}  // namespace container
