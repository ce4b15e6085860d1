#include "support/DeviceContainerFixture.h"

#include <zlib.h>

#include <stdexcept>

#include "container/Md5Hex.h"

namespace fixture {
namespace {

bool IsCovered(const std::string& name) {
    return name == "DeviceModel" || name == "SLVP" || name == "MasterICD" || name == "AccessControlConfig" ||
           (name.size() == 17 && name.compare(0, 11, "DeviceModel") == 0);
}

}  // namespace

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
    const std::string checksum = m_checksum.empty() ? container::Md5Hex::Of(data) : m_checksum;
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

}  // namespace fixture
