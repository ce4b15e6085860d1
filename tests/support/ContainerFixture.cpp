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
bool WriteEntry(zipFile zip, const ZipEntry& entry) {
    const bool stored = entry.compression == Compression::Stored;
    bool text = false;
    const std::string payload = stored ? entry.data : RawDeflate(entry.data, text);
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
    zip_fileinfo info{};
    info.internal_fa = text ? 1 : 0;
    return zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                stored ? 0 : Z_DEFLATED, Z_BEST_COMPRESSION, 1) == ZIP_OK &&
           (payload.empty() ||
            zipWriteInFileInZip(zip, payload.data(), static_cast<unsigned>(payload.size())) == ZIP_OK) &&
           zipCloseFileInZipRaw(zip, entry.statedSize.value_or(static_cast<uint32_t>(entry.data.size())),
                                crc) == ZIP_OK;
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
