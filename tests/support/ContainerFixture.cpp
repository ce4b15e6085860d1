#include "support/ContainerFixture.h"

#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "platform/Md5Hex.h"

namespace fixture {
namespace {

// The raw deflate data of `data`; `text` tells whether zlib took it for text
// (the archive marks such entries).
std::string RawDeflate(const std::string& data, bool& text) {
    z_stream stream{};
    if (deflateInit2_(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                      ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK) {
        throw std::runtime_error("deflateInit2 failed");
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    const bool finished = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    text = stream.data_type == Z_TEXT;
    deflateEnd(&stream);
    if (!finished) throw std::runtime_error("deflate did not finish");
    return out;
}

// Writes the entry raw: deflated here when asked, its headers stating
// `statedSize` when set, else the true size; the CRC is the true data's.
// The CRC of the entry's true data.
uint32_t EntryCrc(const ZipEntry& entry) {
    if (!entry.deflated.empty()) return entry.crc;
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
}

// The bytes the entry's data take in the archive.
std::string Payload(const ZipEntry& entry, bool& text) {
    if (!entry.deflated.empty()) return entry.deflated;
    return entry.compression == Compression::Stored ? entry.data : RawDeflate(entry.data, text);
}

bool WriteEntry(zipFile zip, const ZipEntry& entry) {
    const bool stored = entry.compression == Compression::Stored && entry.deflated.empty();
    bool text = false;
    const std::string payload = Payload(entry, text);
    const uLong crc = EntryCrc(entry);
    zip_fileinfo info{};
    info.internal_fa = text ? 1 : 0;
    return zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                stored ? 0 : Z_DEFLATED, Z_BEST_COMPRESSION, 1) == ZIP_OK &&
           (payload.empty() ||
            zipWriteInFileInZip(zip, payload.data(), static_cast<unsigned>(payload.size())) == ZIP_OK) &&
           zipCloseFileInZipRaw(zip, entry.statedSize.value_or(static_cast<uint32_t>(entry.data.size())),
                                crc) == ZIP_OK;
}

// Little-endian fields of a raw archive.
void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A local header (central == false) or a directory record of the entry whose
// data take `size` bytes, its local header at `offset`.
std::string Header(const ZipEntry& entry, bool central, uint64_t size, uint64_t offset = 0) {
    const bool stored = entry.compression == Compression::Stored && entry.deflated.empty();
    std::string out;
    Put(out, central ? 0x02014b50 : 0x04034b50, 4);
    if (central) Put(out, 20, 2);
    Put(out, 20, 2);                  // version needed
    Put(out, 0, 2);                   // flags
    Put(out, stored ? 0 : 8, 2);      // method
    Put(out, 0x00210000, 4);          // 1980-01-01 00:00
    Put(out, EntryCrc(entry), 4);
    Put(out, size, 4);
    Put(out, entry.statedSize.value_or(static_cast<uint32_t>(entry.data.size())), 4);
    Put(out, entry.name.size(), 2);
    Put(out, 0, 2);                   // extra field
    if (central) {
        Put(out, 0, 6);               // comment, disk, internal attributes
        Put(out, 0, 4);               // external attributes
        Put(out, offset, 4);
    }
    return out + entry.name;
}

std::string WithDirectory(std::string body, const std::string& directory, size_t count) {
    const size_t at = body.size();
    body += directory;
    Put(body, 0x06054b50, 4);
    Put(body, 0, 4);
    Put(body, count, 2);
    Put(body, count, 2);
    Put(body, directory.size(), 4);
    Put(body, at, 4);
    Put(body, 0, 2);
    return body;
}

bool IsCovered(const std::string& name) {
    return name == "DeviceModel" || name == "SLVP" || name == "MasterICD" || name == "AccessControlConfig" ||
           (name.size() == 17 && name.compare(0, 11, "DeviceModel") == 0);
}

}  // namespace

const char* const kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    TempDir dir;
    const std::string path = dir.Path() + "/archive.zip";
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) throw std::runtime_error("zipOpen failed for " + path);
    for (const ZipEntry& entry : entries) {
        if (!WriteEntry(zip, entry)) ADD_FAILURE() << "cannot write entry " << entry.name;
    }
    if (zipClose(zip, nullptr) != ZIP_OK) ADD_FAILURE() << "zipClose failed";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ZipEntry RepeatedEntry(const std::string& name, uint32_t size, char fill) {
    // Each piece is flushed in full, so every whole piece deflates to the same bytes.
    const std::string piece(std::min<uint32_t>(size, 1u << 20), fill);
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string deflatedPiece(deflateBound(&stream, static_cast<uLong>(piece.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
    stream.avail_in = static_cast<uInt>(piece.size());
    stream.next_out = reinterpret_cast<Bytef*>(&deflatedPiece[0]);
    stream.avail_out = static_cast<uInt>(deflatedPiece.size());
    deflate(&stream, Z_FULL_FLUSH);
    deflatedPiece.resize(stream.total_out);
    deflateEnd(&stream);
    ZipEntry entry(name, "", Compression::Deflated, size);
    uLong crc = 0;
    for (uint32_t done = 0; done + piece.size() <= size; done += static_cast<uint32_t>(piece.size())) {
        entry.deflated += deflatedPiece;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size()));
    }
    const std::string rest(size % piece.size(), fill);
    bool text = false;
    entry.deflated += RawDeflate(rest, text);  // the final block
    entry.crc = static_cast<uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(rest.data()),
                                            static_cast<uInt>(rest.size())));
    return entry;
}

std::string SharedHeaderZip(const std::vector<ZipEntry>& entries, const std::vector<size_t>& at) {
    std::string body, directory;
    std::vector<uint64_t> offsets(entries.size(), 0), sizes(entries.size(), 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        const ZipEntry& target = entries[at[i]];
        if (at[i] == i) {
            bool text = false;
            const std::string payload = Payload(target, text);
            offsets[i] = body.size();
            sizes[i] = payload.size();
            body += Header(target, false, payload.size()) + payload;
        }
        ZipEntry named = target;
        named.name = entries[i].name;
        directory += Header(named, true, sizes[at[i]], offsets[at[i]]);
    }
    return WithDirectory(body, directory, entries.size());
}

std::string NestedZip(const ZipEntry& inner) {
    bool text = false;
    const std::string innerBytes = Header(inner, false, Payload(inner, text).size()) + Payload(inner, text);
    const ZipEntry outer("Outer", innerBytes, Compression::Stored);
    const std::string outerHeader = Header(outer, false, innerBytes.size());
    const std::string directory = Header(outer, true, innerBytes.size(), 0) +
                                  Header(inner, true, innerBytes.size() - Header(inner, false, 0).size(),
                                         outerHeader.size());
    return WithDirectory(outerHeader + innerBytes, directory, 2);
}

std::string SelfChecksummed(const std::string& rootElement, const std::string& declaration) {
    const std::string body = (declaration.empty() ? "" : declaration + "\n") + rootElement + "\n";
    char length[16];
    std::snprintf(length, sizeof length, "%08zu", body.size());
    return body + "<!--CHECKSUM:" + platform::Md5Hex::Of(body) + " LENGTH:" + length + "-->\n";
}

std::string EmptyElement(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string text = "<" + name;
    for (const auto& attribute : attributes) text += " " + attribute.first + "=\"" + attribute.second + "\"";
    return text + "/>";
}

RecordContainerBuilder::RecordContainerBuilder()
    : m_metaAttributes{{"checksumContainerData", ""},
                       {"versionSyntax", "1"},
                       {"nameSLVP", "CVR87_V04.10.02"},
                       {"generator", "dr_mvq4 fixture"},
                       {"created", "2023-11-14T22:13:20Z"}} {
    RecorderData(RecordBuilder());
}

RecordContainerBuilder& RecordContainerBuilder::RecorderData(const RecordBuilder& record) {
    return Entry("RecorderData", record.Xml());
}

RecordContainerBuilder& RecordContainerBuilder::Entry(const std::string& name, const std::string& text,
                                                      Compression compression) {
    if (name == "MetaData") {
        m_metaText = text;
        m_withMetaData = true;
        return *this;
    }
    auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const ZipEntry& e) { return e.name == name; });
    if (found == m_entries.end()) found = m_entries.insert(m_entries.end(), ZipEntry{name, "", compression});
    found->data = text;
    found->compression = compression;
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::Remove(const std::string& name) {
    if (name == "MetaData") m_withMetaData = false;
    m_entries.erase(
        std::remove_if(m_entries.begin(), m_entries.end(), [&](const ZipEntry& e) { return e.name == name; }),
        m_entries.end());
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::MetaAttribute(const std::string& name,
                                                              const std::string& value) {
    if (name == "checksumContainerData") m_checksumFixed = true;
    auto found = std::find_if(m_metaAttributes.begin(), m_metaAttributes.end(),
                              [&](const auto& attribute) { return attribute.first == name; });
    if (found == m_metaAttributes.end()) found = m_metaAttributes.insert(m_metaAttributes.end(), {name, ""});
    found->second = value;
    return *this;
}

std::string RecordContainerBuilder::ContainerDataChecksum() const {
    // A record container covers every entry in byte order of the names, a
    // device container the covered ones in archive order.
    std::map<std::string, std::string> byName;
    std::string joined;
    for (const ZipEntry& entry : m_entries) {
        if (!m_device) byName[entry.name] = entry.data;
        if (m_device && IsCovered(entry.name)) joined += entry.data;
    }
    for (const auto& entry : byName) joined += entry.second;
    return platform::Md5Hex::Of(joined);
}

std::string RecordContainerBuilder::MetaDataText() const {
    if (m_metaText) return *m_metaText;
    std::vector<std::pair<std::string, std::string>> attributes = m_metaAttributes;
    if (!m_checksumFixed) attributes.front().second = ContainerDataChecksum();
    return SelfChecksummed(EmptyElement("MetaData", attributes));
}

std::string RecordContainerBuilder::Bytes() const {
    std::vector<ZipEntry> entries;
    if (m_withMetaData) entries.push_back(ZipEntry{"MetaData", MetaDataText(), Compression::Deflated});
    entries.insert(entries.end(), m_entries.begin(), m_entries.end());
    return ZipBytes(entries);
}

std::string RecordContainerBuilder::Write(const TempDir& dir, const std::string& name) const {
    return dir.Write(name, Bytes());
}

DeviceContainerBuilder::DeviceContainerBuilder(const std::string& model) {
    m_entries = {{"DeviceModel", model},
                 {"SLVP", "<SLVP/>"},
                 {"MasterICD", "<ICD/>"},
                 {"AccessControlConfig", "<Access/>"}};
    m_metaAttributes = {{"checksumContainerData", ""}, {"versionSyntax", "1"}, {"generator", "fixture"}};
    m_device = true;
}

std::string Compressed(const std::string& text) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string packed(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(text.data()),
                 static_cast<uLong>(text.size())) != Z_OK) {
        throw std::runtime_error("compress failed");
    }
    packed.resize(size);
    return packed;
}

std::string FlipByte(std::string bytes, size_t offset) {
    if (offset < bytes.size()) bytes[offset] = static_cast<char>(bytes[offset] ^ 0xff);
    return bytes;
}

}  // namespace fixture
