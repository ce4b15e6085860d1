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

std::string RawDeflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2_(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                      static_cast<int>(sizeof(z_stream))) != Z_OK) {
        ADD_FAILURE() << "deflateInit2 failed";
        return {};
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) ADD_FAILURE() << "deflate did not finish";
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

int MethodOf(const ZipEntry& entry) { return entry.compression == Compression::Stored ? 0 : Z_DEFLATED; }

// An entry whose headers state `statedSize`: its data is written as is
// (compressed here when deflated) and closed with the stated size.
bool WriteStatedEntry(zipFile zip, const ZipEntry& entry, const zip_fileinfo& info) {
    const std::string payload = entry.compression == Compression::Stored ? entry.data : RawDeflate(entry.data);
    if (zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, MethodOf(entry),
                             Z_BEST_COMPRESSION, 1) != ZIP_OK) {
        return false;
    }
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(entry.data.data()),
                            static_cast<uInt>(entry.data.size()));
    return (payload.empty() || zipWriteInFileInZip(zip, payload.data(), static_cast<unsigned>(payload.size())) ==
                                   ZIP_OK) &&
           zipCloseFileInZipRaw(zip, *entry.statedSize, crc) == ZIP_OK;
}

bool WriteEntry(zipFile zip, const ZipEntry& entry) {
    zip_fileinfo info{};
    if (entry.statedSize) return WriteStatedEntry(zip, entry, info);
    if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, MethodOf(entry),
                            Z_BEST_COMPRESSION) != ZIP_OK) {
        return false;
    }
    return (entry.data.empty() || zipWriteInFileInZip(zip, entry.data.data(),
                                                      static_cast<unsigned>(entry.data.size())) == ZIP_OK) &&
           zipCloseFileInZip(zip) == ZIP_OK;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsCovered(const std::string& name) {
    return name == "DeviceModel" || name == "SLVP" || name == "MasterICD" || name == "AccessControlConfig" ||
           (name.size() == 17 && name.compare(0, 11, "DeviceModel") == 0);
}

template <typename Pairs>
auto FindByName(Pairs& pairs, const std::string& name) {
    return std::find_if(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == name; });
}

}  // namespace

const char* const kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    TempDir dir;
    const std::string path = dir.Path() + "/archive.zip";
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        ADD_FAILURE() << "zipOpen failed for " << path;
        return {};
    }
    for (const ZipEntry& entry : entries) {
        if (!WriteEntry(zip, entry)) ADD_FAILURE() << "cannot write entry " << entry.name;
    }
    if (zipClose(zip, nullptr) != ZIP_OK) ADD_FAILURE() << "zipClose failed";
    return ReadFile(path);
}

std::string SelfChecksummed(const std::string& rootElement, const std::string& declaration) {
    const std::string body = (declaration.empty() ? "" : declaration + "\n") + rootElement + "\n";
    char length[16];
    std::snprintf(length, sizeof length, "%08zu", body.size());
    return body + "<!--CHECKSUM:" + platform::Md5Hex::Of(body) + " LENGTH:" + length + "-->\n";
}

std::string EmptyElement(const std::string& name, const std::vector<std::pair<std::string, std::string>>& attributes) {
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
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const ZipEntry& e) { return e.name == name; });
    if (found == m_entries.end()) found = m_entries.insert(m_entries.end(), ZipEntry{name, "", compression});
    found->data = text;
    found->compression = compression;
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::Remove(const std::string& name) {
    if (name == "MetaData") m_withMetaData = false;
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), [&](const ZipEntry& e) { return e.name == name; }),
                    m_entries.end());
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::Unchecked(const std::string& name, const std::string& text) {
    m_unchecked.push_back(ZipEntry{name, text, Compression::Deflated});
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::MetaAttribute(const std::string& name, const std::string& value) {
    if (name == "checksumContainerData") m_checksumFixed = true;
    auto found = FindByName(m_metaAttributes, name);
    if (found == m_metaAttributes.end()) found = m_metaAttributes.insert(m_metaAttributes.end(), {name, ""});
    found->second = value;
    return *this;
}

RecordContainerBuilder& RecordContainerBuilder::RemoveMetaAttribute(const std::string& name) {
    auto found = FindByName(m_metaAttributes, name);
    if (found != m_metaAttributes.end()) m_metaAttributes.erase(found);
    return *this;
}

std::string RecordContainerBuilder::ContainerDataChecksum() const {
    std::map<std::string, std::string> byName;
    for (const ZipEntry& entry : m_entries) byName[entry.name] = entry.data;
    std::string joined;
    for (const auto& entry : byName) joined += entry.second;
    return platform::Md5Hex::Of(joined);
}

std::string RecordContainerBuilder::MetaDataRoot() const {
    std::vector<std::pair<std::string, std::string>> attributes = m_metaAttributes;
    auto checksum = FindByName(attributes, "checksumContainerData");
    if (checksum != attributes.end() && !m_checksumFixed) checksum->second = ContainerDataChecksum();
    return EmptyElement("MetaData", attributes);
}

std::string RecordContainerBuilder::MetaDataText() const {
    return m_metaText ? *m_metaText : SelfChecksummed(MetaDataRoot());
}

std::string RecordContainerBuilder::Bytes() const {
    std::vector<ZipEntry> entries;
    if (m_withMetaData) entries.push_back(ZipEntry{"MetaData", MetaDataText(), Compression::Deflated});
    entries.insert(entries.end(), m_entries.begin(), m_entries.end());
    entries.insert(entries.end(), m_unchecked.begin(), m_unchecked.end());
    return ZipBytes(entries);
}

std::string RecordContainerBuilder::Write(const TempDir& dir, const std::string& name) const {
    return dir.Write(name, Bytes());
}

DeviceContainerBuilder::DeviceContainerBuilder(const std::string& model) {
    m_entries = {{"DeviceModel", model}, {"SLVP", "<SLVP/>"}, {"MasterICD", "<ICD/>"},
                 {"AccessControlConfig", "<Access/>"}};
}

DeviceContainerBuilder& DeviceContainerBuilder::Language(const std::string& code, const std::string& text) {
    return Entry("DeviceModel_l_" + code, text);
}

DeviceContainerBuilder& DeviceContainerBuilder::Entry(const std::string& name, const std::string& text) {
    for (auto& entry : m_entries) {
        if (entry.first == name) {
            entry.second = text;
            return *this;
        }
    }
    m_entries.emplace_back(name, text);
    return *this;
}

DeviceContainerBuilder& DeviceContainerBuilder::VersionSyntax(const std::string& version) {
    m_version = version;
    return *this;
}

DeviceContainerBuilder& DeviceContainerBuilder::Checksum(const std::string& checksum) {
    m_checksum = checksum;
    return *this;
}

DeviceContainerBuilder& DeviceContainerBuilder::WithoutMetaData() {
    m_withMetaData = false;
    return *this;
}

std::string DeviceContainerBuilder::Bytes() const {
    std::string data;
    for (const auto& entry : m_entries) {
        if (IsCovered(entry.first)) data += entry.second;
    }
    const std::string checksum = m_checksum.empty() ? platform::Md5Hex::Of(data) : m_checksum;
    std::vector<ZipEntry> entries;
    if (m_withMetaData) {
        const std::string root = EmptyElement(
            "MetaData", {{"checksumContainerData", checksum}, {"versionSyntax", m_version}, {"generator", "fixture"}});
        entries.emplace_back("MetaData", SelfChecksummed(root));
    }
    for (const auto& entry : m_entries) entries.emplace_back(entry.first, entry.second);
    return ZipBytes(entries);
}

std::string DeviceContainerBuilder::Write(const TempDir& dir, const std::string& name) const {
    return dir.Write(name, Bytes());
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

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace fixture
