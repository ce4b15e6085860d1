#include "container/ContainerFile.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/Md5Hex.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kMetaDataEntry = "MetaData";
constexpr uint64_t kLargestBudget = std::numeric_limits<uint64_t>::max();

}  // namespace

ContainerFile::ContainerFile(uint64_t entryLimit)
    : m_entryLimit(entryLimit),
      m_budget(entryLimit > kLargestBudget / kBudgetFactor ? kLargestBudget : entryLimit * kBudgetFactor) {}

bool ContainerFile::IsContainer(const std::wstring& path) {
    std::string head;
    int error = 0;
    switch (platform::ReadFileHead(platform::WideToUtf8(path), 2, head, error)) {
        case platform::HeadResult::kRead:
            break;
        case platform::HeadResult::kCannotOpen:
            m_errorText = "IsContainer() fails: Can not open file for reading.";
            return false;
        case platform::HeadResult::kCannotRead:
            m_errorText = "IsContainer() fails: Can not read the file.";
            return false;
        case platform::HeadResult::kTooShort:
            m_errorText = "IsContainer(): File has invalid container file header.";
            return false;
    }
    if (head[0] == 'P' && head[1] == 'K') return true;
    m_errorText = "IsContainer(): File has invalid container file header.";
    return false;
}

bool ContainerFile::OpenContainer(const std::wstring& path) {
    m_path = path;
    if (!m_archive.Open(path)) {
        m_errorText = "OpenContainer() fails: Failure in OpenZip()\n";
        return false;
    }
    return Verify();
}

bool ContainerFile::Verify() {
    std::string metaText;
    if (!ReadEntry(kMetaDataEntry, metaText)) {
        m_errorText = "Can not find meta data!";
        return false;
    }
    std::string nameSLVP, checksumContainerData;
    if (!m_metaData.Load(metaText, nameSLVP, checksumContainerData)) {
        m_errorText = m_metaData.ErrorText();
        return false;
    }
    if (!ReadEntryTable()) return false;
    if (ContainerDataDigest() != checksumContainerData) {
        m_errorText = "Invalid container data checksum!";
        return false;
    }
    return true;
}

// Every entry of the directory, its text read by its name as a lookup finds
// it: names equal but for ASCII case all get the text of the first such
// entry in directory order, inflated once. The walk ends early where the
// directory cannot be read further.
bool ContainerFile::ReadEntryTable() {
    uint64_t count = 0;
    if (!m_archive.EntryCount(count)) return false;
    m_entries.clear();
    std::vector<std::string> names;
    bool positioned = m_archive.GoToFirstEntry();
    for (uint64_t index = 0; index < count && positioned; ++index) {
        std::string name;
        if (m_archive.CurrentEntryName(name)) names.push_back(std::move(name));
        positioned = m_archive.GoToNextEntry();
    }
    std::map<std::string, const std::string*> textOfFoldedName;
    for (std::string& name : names) {
        auto [folded, isNew] = textOfFoldedName.emplace(platform::AsciiUpper(name), nullptr);
        std::string text;
        if (isNew) {
            ReadEntry(name, text);  // a failure leaves the text empty
        } else {
            text = *folded->second;
        }
        const auto stored = m_entries.emplace(std::move(name), std::move(text)).first;
        if (isNew) folded->second = &stored->second;
    }
    return true;
}

bool ContainerFile::ExtractCurrentEntry(std::string& text) {
    uint64_t inflated = 0;
    const bool extracted = m_archive.ExtractCurrentEntry(text, std::min(m_entryLimit, m_budget), inflated);
    m_budget -= std::min(inflated, m_budget);
    return extracted;
}

std::string ContainerFile::ContainerDataDigest() const {
    platform::Md5Hex digest;
    for (const auto& entry : m_entries) {
        if (entry.first != kMetaDataEntry) digest.Update(entry.second);
    }
    return digest.Finish();
}

bool ContainerFile::ReadEntry(std::string_view name, std::string& text) {
    return m_archive.Locate(name) && ExtractCurrentEntry(text);
}

std::vector<std::string> ContainerFile::EntryNames() const {
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const auto& entry : m_entries) {
        if (entry.first != kMetaDataEntry) names.push_back(entry.first);
    }
    return names;
}

bool ContainerFile::CloseContainer() { return m_archive.Close(); }

std::string ContainerFile::ErrorText() const {
    return "Internal error in Corvane Container:\n" + (m_errorText.empty() ? std::string("Unknown") : m_errorText) +
           "\n";
}

}  // namespace container
