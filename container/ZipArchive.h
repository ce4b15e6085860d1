// A ZIP archive opened for reading, on the unzip API: a walk over the
// entries in central-directory order, lookup by name ignoring the case of
// ASCII letters, and extraction of an entry's text into memory.
//
// An archive whose entries share bytes (two directory entries on one local
// header, or one entry's data running into another's) is refused as damaged
// when it is opened, so that no byte of the file is inflated twice.
// Extraction never trusts the sizes an archive states: an entry is inflated in
// chunks, each spent from the load's budget before it is kept, and abandoned
// once the budget refuses, so a damaged or hostile archive costs at most what
// the budget has left. An entry whose data fails the archive's own CRC check
// counts as unreadable. Entry names are the archive's bytes, whatever their
// encoding. The first lookup by name indexes the directory, so later lookups
// cost no walk.
//
// One object is used by one thread at a time.
#ifndef DR_MVQ4_CONTAINER_ZIP_ARCHIVE_H
#define DR_MVQ4_CONTAINER_ZIP_ARCHIVE_H

#include <unzip.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/LoadBudget.h"

namespace container {

class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the file at `path` as an archive, closing one opened before.
    // False when the file cannot be opened, holds no readable central
    // directory or entries that overlap; the object is closed then.
    bool Open(const std::wstring& path);
    // Releases the archive: true when one was open and released cleanly,
    // false when none was open. Closing twice is harmless.
    bool Close();
    bool IsOpen() const { return m_archive != nullptr; }

    // Calls visit(name, index) for each entry in central-directory order,
    // positioned on it so that it may be extracted; `index` counts the
    // entries before it, `name` is all its name's bytes. Entries whose
    // directory record cannot be read are passed over. The walk ends after
    // the number of entries the archive states, or where the directory
    // cannot be read further. False when closed.
    template <typename Visit>
    bool ForEachEntry(Visit&& visit) {
        uint64_t count = 0;
        if (!EntryCount(count)) return false;
        bool positioned = GoToFirstEntry();
        for (uint64_t index = 0; index < count && positioned; ++index, positioned = GoToNextEntry()) {
            std::string name;
            if (CurrentEntryName(name)) visit(name, index);
        }
        return true;
    }
    // The directory position of the entry positioned on; its num_of_file
    // counts the entries before it in directory order.
    bool CurrentPosition(unz64_file_pos& position) {
        return m_archive != nullptr && unzGetFilePos64(m_archive, &position) == UNZ_OK;
    }
    // Extracts the entry positioned on. Its text is the content up to the
    // first NUL byte. Every byte inflated is spent from `budget`'s inflating
    // allowance, also when the extraction fails; the text kept stays reserved
    // in it, the rest is given back. False when the entry cannot be read,
    // fails its CRC or inflates to more than the budget has left; `text` is
    // unchanged then.
    bool ExtractCurrentEntry(std::string& text, platform::LoadBudget& budget);

    // Positions on the first entry whose name equals `name` ignoring the case
    // of ASCII letters; false when there is none.
    bool Locate(std::string_view name);
    // Locate and ExtractCurrentEntry in one: false when the entry is missing
    // or cannot be extracted within the budget; `text` is unchanged then.
    bool ReadEntry(std::string_view name, std::string& text, platform::LoadBudget& budget);

private:
    bool EntryCount(uint64_t& count) const;
    bool GoToFirstEntry();
    bool GoToNextEntry();
    bool CurrentEntryName(std::string& name);
    bool EntriesApart();
    void BuildIndex();

    unzFile m_archive = nullptr;
    // Upper-cased entry name -> directory position of the first entry of that
    // name; built on the first Locate.
    std::map<std::string, unz64_file_pos> m_index;
    bool m_indexed = false;
};

}  // namespace container

#endif
