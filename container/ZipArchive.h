// A ZIP archive opened for reading, on the unzip API: entry count, a walk over
// the entries in central-directory order, lookup by name ignoring the case of
// ASCII letters, and extraction of an entry's text into memory.
//
// Extraction never trusts the sizes an archive states: an entry is inflated in
// chunks and abandoned once it inflates past the caller's bound, so a damaged
// or hostile archive costs at most that much memory and work per entry. An
// entry whose data fails the archive's own CRC check counts as unreadable.
// Entry names are the archive's bytes, whatever their encoding. The first
// lookup by name indexes the directory, so later lookups cost no walk.
//
// One object is used by one thread at a time.
#ifndef DR_MVQ4_CONTAINER_ZIP_ARCHIVE_H
#define DR_MVQ4_CONTAINER_ZIP_ARCHIVE_H

#include <unzip.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/FileAccess.h"

namespace container {

class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the file at `path` as an archive, closing one opened before.
    // False when the file cannot be opened or holds no readable central
    // directory; the object is closed then.
    bool Open(const std::wstring& path);
    // Releases the archive: true when one was open and released cleanly,
    // false when none was open. Closing twice is harmless.
    bool Close();
    bool IsOpen() const { return m_archive != nullptr; }

    // The number of entries the archive states; false when closed.
    bool EntryCount(uint64_t& count) const;

    // Positions on the first / next entry in central-directory order; false
    // at the end of the list or when the directory cannot be read further.
    bool GoToFirstEntry();
    bool GoToNextEntry();
    // The name of the entry positioned on, all its bytes; false when its
    // directory record cannot be read.
    bool CurrentEntryName(std::string& name);
    // Extracts the entry positioned on. Its text is the content up to the
    // first NUL byte. `inflated` receives the number of bytes inflated, also
    // on failure. False when the entry cannot be read, fails its CRC or
    // inflates to more than `limit` bytes; `text` is unchanged then.
    bool ExtractCurrentEntry(std::string& text, uint64_t limit, uint64_t& inflated);

    // Positions on the first entry whose name equals `name` ignoring the case
    // of ASCII letters; false when there is none.
    bool Locate(std::string_view name);
    // Locate and ExtractCurrentEntry in one: false when the entry is missing
    // or cannot be extracted within `limit` bytes; `text` is unchanged then.
    bool ReadEntry(std::string_view name, std::string& text, uint64_t limit = platform::kMaxFileSize);

private:
    void BuildIndex();

    unzFile m_archive = nullptr;
    // Upper-cased entry name -> directory position of the first entry of that
    // name; built on the first Locate.
    std::map<std::string, unz64_file_pos> m_index;
    bool m_indexed = false;
};

}  // namespace container

#endif
