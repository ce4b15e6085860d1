#include "container/ContainerFile.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/Md5Hex.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kMetaDataEntry = "MetaData";

}  // namespace

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

bool ContainerFile::OpenArchive(const std::wstring& path) {
    m_path = path;
    if (m_archive.Open(path)) return true;
    m_errorText = "OpenContainer() fails: Failure in OpenZip()\n";
    return false;
}

bool ContainerFile::OpenContainer(const std::wstring& path) { return OpenArchive(path) && Verify(); }

bool ContainerFile::OpenForListing(const std::wstring& path) {
    std::vector<std::string> names;
    if (!OpenArchive(path) || !DirectoryNames(names)) return false;
    std::set<std::string> sorted(names.begin(), names.end());  // byte order
    sorted.erase(kMetaDataEntry);
    m_entryNames.assign(sorted.begin(), sorted.end());
    return true;
}

bool ContainerFile::Verify() {
    // The meta data's document tree is paid for like its text.
    const Extraction* metaData = Extract(kMetaDataEntry);
    if (metaData == nullptr || !m_budget.ReserveDocument(metaData->text)) {
        m_errorText = "Can not find meta data!";
        return false;
    }
    std::string nameSLVP, checksumContainerData;
    if (!m_metaData.Load(metaData->text, nameSLVP, checksumContainerData)) {
        m_errorText = m_metaData.ErrorText();
        return false;
    }
    std::string digest;
    if (!ReadEntryTable(digest)) return false;
    if (digest != checksumContainerData) {
        m_errorText = "Invalid container data checksum!";
        return false;
    }
    return true;
}

// Every entry of the directory, its text read by its name as a lookup finds
// it: names equal but for ASCII case all stand for the text of the first such
// entry in directory order, inflated once; an entry that cannot be read for
// an empty text. `digest` covers the texts of all names but "MetaData" in
// byte order of names. The walk ends early where the directory cannot be
// read further.
bool ContainerFile::ReadEntryTable(std::string& digest) {
    std::vector<std::string> names;
    if (!DirectoryNames(names)) return false;
    static const std::string kUnread;
    std::map<std::string, const std::string*> textOfFoldedName;
    std::map<std::string, const std::string*> texts;  // std::string orders names byte-wise
    for (std::string& name : names) {
        auto [folded, isNew] = textOfFoldedName.emplace(platform::AsciiUpper(name), &kUnread);
        if (isNew) {
            const Extraction* extraction = Extract(name);
            if (extraction != nullptr) folded->second = &extraction->text;
        }
        texts.emplace(std::move(name), folded->second);
    }
    platform::Md5Hex md5;
    m_entryNames.clear();
    for (const auto& [name, text] : texts) {
        if (name == kMetaDataEntry) continue;
        md5.Update(*text);
        m_entryNames.push_back(name);
    }
    digest = md5.Finish();
    return true;
}

bool ContainerFile::DirectoryNames(std::vector<std::string>& names) {
    return m_archive.ForEachEntry([&names](const std::string& name, uint64_t) { names.push_back(name); });
}

ContainerFile::Extraction* ContainerFile::Extract(std::string_view name) {
    if (!m_archive.IsOpen()) return nullptr;
    const std::string folded = platform::AsciiUpper(name);
    const auto kept = m_extractions.find(folded);
    if (kept != m_extractions.end() && !kept->second.taken) {
        return kept->second.extracted ? &kept->second : nullptr;
    }
    if (!m_archive.Locate(name)) return nullptr;
    Extraction extraction;
    extraction.extracted = m_archive.ExtractCurrentEntry(extraction.text, m_budget);
    Extraction& stored = m_extractions[folded] = std::move(extraction);
    return stored.extracted ? &stored : nullptr;
}

bool ContainerFile::ReadEntry(std::string_view name, std::string& text) {
    const Extraction* extraction = Extract(name);
    if (extraction == nullptr || !m_budget.Reserve(extraction->text.size())) return false;
    text = extraction->text;
    return true;
}

bool ContainerFile::TakeEntry(std::string_view name, std::string& text) {
    Extraction* extraction = Extract(name);
    if (extraction == nullptr) return false;
    text = std::move(extraction->text);
    extraction->taken = true;
    return true;
}

std::vector<std::string> ContainerFile::EntryNames() const { return m_entryNames; }

bool ContainerFile::CloseContainer() {
    m_extractions.clear();
    return m_archive.Close();
}

std::string ContainerFile::ErrorText() const {
    return "Internal error in Corvane Container:\n" + (m_errorText.empty() ? std::string("Unknown") : m_errorText) +
           "\n";
}

}  // namespace container
