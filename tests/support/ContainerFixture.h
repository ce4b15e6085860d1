// Fixture writer for containers: ZIP archives with stored or deflated
// entries, self-checksummed documents in the producer's layout, builders of
// valid record containers whose meta data is computed over the other entries
// and of device containers, and the zlib stream of a compressed model file.
// Tests start from a valid container and damage it one way: through the
// builder (a wrong or upper-case checksum, a replaced meta data text) or on
// the archive bytes (a flipped byte, a truncation, a size field that lies).
#ifndef DR_MVQ4_TESTS_SUPPORT_CONTAINER_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_CONTAINER_FIXTURE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/RecordFixture.h"

namespace fixture {

enum class Compression { Stored, Deflated };

struct ZipEntry {
    ZipEntry(std::string name_, std::string data_, Compression compression_ = Compression::Deflated,
             std::optional<uint32_t> statedSize_ = std::nullopt)
        : name(std::move(name_)),
          data(std::move(data_)),
          compression(compression_),
          statedSize(statedSize_) {}

    std::string name;
    std::string data;
    Compression compression = Compression::Deflated;
    // When set, both headers state this uncompressed size instead of the true
    // one; the CRC stays that of the true data.
    std::optional<uint32_t> statedSize;
    // Not empty: the raw deflate data written as they are, `data` ignored;
    // the headers state `crc` and statedSize.
    std::string deflated;
    uint32_t crc = 0;
};

// The bytes of a ZIP archive holding `entries` in this order.
std::string ZipBytes(const std::vector<ZipEntry>& entries);

extern const char* const kXmlDeclaration;  // <?xml version="1.0" encoding="UTF-8"?>

// A self-checksummed document: declaration + "\n" + root + "\n", then
// "<!--CHECKSUM:" + digest of those bytes + " LENGTH:" + their length in 8
// digits + "-->" + "\n". An empty declaration leaves out the declaration and
// its line feed.
std::string SelfChecksummed(const std::string& rootElement, const std::string& declaration = kXmlDeclaration);

// An empty element <name a="v" .../>; the values are written as given.
std::string EmptyElement(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& attributes);

// A valid record container. A fresh builder holds "MetaData" (checksum over
// the other entries, versionSyntax 1, nameSLVP, generator, created) and
// "RecorderData" (a default RecordBuilder record). Archive order: "MetaData",
// then the entries in the order added.
class RecordContainerBuilder {
public:
    RecordContainerBuilder();

    RecordContainerBuilder& RecorderData(const RecordBuilder& record);
    // Adds an entry covered by the checksum, or replaces the text of one with
    // the same name (also "MetaData", whose text is then no longer computed).
    RecordContainerBuilder& Entry(const std::string& name, const std::string& text,
                                  Compression compression = Compression::Deflated);
    RecordContainerBuilder& Remove(const std::string& name);
    // Sets a root attribute of the computed meta data; setting
    // "checksumContainerData" replaces the computed checksum.
    RecordContainerBuilder& MetaAttribute(const std::string& name, const std::string& value);

    // The digest of the covered entries' texts joined in byte order of names.
    std::string ContainerDataChecksum() const;
    std::string MetaDataText() const;
    std::string Bytes() const;
    // Writes Bytes() into `dir` and returns the full path.
    std::string Write(const TempDir& dir, const std::string& name = "record.zip") const;

protected:
    std::vector<ZipEntry> m_entries;
    std::vector<std::pair<std::string, std::string>> m_metaAttributes;
    bool m_device = false;

private:
    std::optional<std::string> m_metaText;  // replaces the computed meta data
    bool m_withMetaData = true;
    bool m_checksumFixed = false;
};

// A valid device container (".DeCon") holding `model` and the three companion
// entries, syntax version 1. Its checksum covers "DeviceModel", "SLVP",
// "MasterICD", "AccessControlConfig" and the language entries
// ("DeviceModel_l_" + code) in archive order.
class DeviceContainerBuilder : public RecordContainerBuilder {
public:
    explicit DeviceContainerBuilder(const std::string& model = "<Model/>");
};

// Hostile archives. A deflated entry of `size` bytes of `fill` (up to 4 GiB),
// written a mebibyte-long piece at a time: about size / 1000 bytes of archive.
ZipEntry RepeatedEntry(const std::string& name, uint32_t size, char fill = 'a');
// An archive whose directory lists every entry of `entries`, entry i pointing
// at the local header of entry at[i] (its own when at[i] == i; one pointed at
// must come earlier). Entries that share a header need names of one length.
std::string SharedHeaderZip(const std::vector<ZipEntry>& entries, const std::vector<size_t>& at);
// An archive of two entries whose data overlap: the stored entry "Outer"
// holds the whole of the entry `inner` (header and data) as its content.
std::string NestedZip(const ZipEntry& inner);

// zlib stream of `text`, as a ".dm_c" file holds it.
std::string Compressed(const std::string& text);

// Damage on archive bytes.
std::string FlipByte(std::string bytes, size_t offset);


}  // namespace fixture

#endif
