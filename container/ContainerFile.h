// The reader of a record file that is a container: a ZIP archive whose
// "MetaData" entry carries its own checksum and the checksum over the texts
// of every other entry. Opening reads every entry into an entry table and
// verifies both checksums; single entries can then be read again by name.
//
// An entry's text is its uncompressed content up to the first NUL byte. All
// that the object inflates, and every copy of a text it hands out, is
// reserved in the load's budget; so a hostile archive costs bounded memory
// and time. An entry that cannot be extracted within the budget counts as
// missing (and enters the table with an empty text).
//
// Each entry is inflated once: the object keeps what it extracted, and a
// later read of the same entry is served from there.
//
// Created closed; OpenContainer at most once; the archive stays open until
// CloseContainer or destruction, also after a failed verification. Failures
// are false results with a reason kept for ErrorText(). One thread at a time.
#ifndef DR_MVQ4_CONTAINER_CONTAINER_FILE_H
#define DR_MVQ4_CONTAINER_CONTAINER_FILE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "container/ContainerMetaData.h"
#include "container/ZipArchive.h"
#include "platform/LoadBudget.h"

namespace container {

class ContainerFile {
public:
    // Within a default budget of the object's own, or the load's.
    ContainerFile() : m_budget(m_ownBudget) {}
    explicit ContainerFile(platform::LoadBudget& budget) : m_budget(budget) {}
    ContainerFile(const ContainerFile&) = delete;
    ContainerFile& operator=(const ContainerFile&) = delete;

    // True when the file exists, can be read and starts with "PK"; nothing
    // else is checked.
    bool IsContainer(const std::wstring& path);
    // Opens the archive and verifies it: the meta data (see
    // ContainerMetaData::Load) and the digest of all other entries' texts
    // joined in byte order of their names. True only when both checksums hold.
    bool OpenContainer(const std::wstring& path);
    // Opens the archive and lists its entries without reading or verifying
    // them, for a reader that knows the container verifies; entries are then
    // read by name as after OpenContainer. False when the archive cannot be
    // opened. Instead of OpenContainer, at most once.
    bool OpenForListing(const std::wstring& path);
    // Extracts the entry named `name` (ASCII case ignored) from the open
    // archive. False when there is no archive, the entry is missing or cannot
    // be extracted, or the budget has no room for the copy; `text` is
    // unchanged then.
    bool ReadEntry(std::string_view name, std::string& text);
    // ReadEntry that hands over the kept text instead of a copy; a later read
    // of the entry inflates it again.
    bool TakeEntry(std::string_view name, std::string& text);
    // The names of the entry table without "MetaData", in byte order.
    std::vector<std::string> EntryNames() const;
    // Releases the archive: true when one was open and released cleanly.
    bool CloseContainer();

    // "Internal error in Corvane Container:\n" + the last failure's reason
    // ("Unknown" when none) + "\n".
    std::string ErrorText() const;
    const ContainerMetaData& MetaData() const { return m_metaData; }
    platform::LoadBudget& Budget() { return m_budget; }
    // The path given to OpenContainer.
    const std::wstring& Path() const { return m_path; }

private:
    // What one extraction of an entry gave.
    struct Extraction {
        std::string text;
        bool extracted = false;
        bool taken = false;  // the text was handed over
    };

    bool Verify();
    bool ReadEntryTable(std::string& digest);
    // Opens the archive; false, with the reason kept, when it cannot be.
    bool OpenArchive(const std::wstring& path);
    // The names of the directory's entries, in its order (as many as it
    // states and can be read); false when the archive states no count.
    bool DirectoryNames(std::vector<std::string>& names);
    // The entry's extraction when it succeeds, else null.
    Extraction* Extract(std::string_view name);

    platform::LoadBudget m_ownBudget;  // when no budget is handed in
    platform::LoadBudget& m_budget;
    ContainerMetaData m_metaData;
    ZipArchive m_archive;
    std::string m_errorText;
    std::map<std::string, Extraction> m_extractions;  // by upper-cased name
    std::vector<std::string> m_entryNames;             // without "MetaData", in byte order
    std::wstring m_path;
};

}  // namespace container

#endif
