#include "container/ContainerMetaData.h"

#include <cstring>
#include <string_view>

#include "devicemodel/DocumentChecksum.h"
#include "platform/NumberParsing.h"

namespace container {
namespace {

// Processing instructions and comments are nodes, so that the declaration,
// the root and the checksum comment sit at top-level positions 0, 1 and 2.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_pi | pugi::parse_comments | pugi::parse_declaration;

const char* const kUnsupportedVersionTail =
    "' not supported.\r\nPlease update the application which supports this syntax format.";

struct VariantRules {
    int32_t maximumVersion;
    const char* missingChecksumMessage;
    const char* missingVersionMessage;
    const char* versionMessagePrefix;
};

const VariantRules& RulesOf(ContainerMetaData::Variant variant) {
    static const VariantRules kRecord{1, "Checksum over container data not found", "Missing version syntax item",
                                      "CVN_ContainerFile Syntax format '"};
    static const VariantRules kDevice{2, "Container data checksum not found", "", "Syntax format '"};
    return variant == ContainerMetaData::Variant::DeviceContainer ? kDevice : kRecord;
}

}  // namespace

ContainerMetaData::ContainerMetaData(Variant variant) : m_variant(variant) {}

bool ContainerMetaData::ParseChecked(const std::string& text, const char* checksumMessage) {
    m_text = text;
    m_document.reset();
    m_root = pugi::xml_node();
    // Too short to hold the checksum comment: no digest can match.
    if (m_text.size() < devicemodel::kChecksumTrailerLength) {
        m_errorText = checksumMessage;
        return false;
    }
    if (!m_document.load_buffer(m_text.data(), m_text.size(), kParseOptions, pugi::encoding_utf8)) return false;
    m_root = devicemodel::TopLevelNode(m_document, 1);
    if (!devicemodel::HasValidChecksum(m_text, m_document)) {
        m_errorText = checksumMessage;
        return false;
    }
    return true;
}

bool ContainerMetaData::CheckVersion(const char* missingMessage, const char* messagePrefix, int32_t maximum) {
    std::string version;
    if (!Attribute("versionSyntax", version)) {
        m_errorText = missingMessage;
        return false;
    }
    const int32_t number = platform::ParseInt32(version);
    if (number < 1 || number > maximum) {
        m_errorText = messagePrefix + version + kUnsupportedVersionTail;
        return false;
    }
    return true;
}

bool ContainerMetaData::Load(const std::string& text, std::string& nameSLVP, std::string& checksumContainerData) {
    const VariantRules& rules = RulesOf(m_variant);
    if (!ParseChecked(text, "Invalid meta data checksum")) return false;
    checksumContainerData.clear();
    if (!Attribute("checksumContainerData", checksumContainerData)) {
        m_errorText = rules.missingChecksumMessage;
        return false;
    }
    if (!CheckVersion(rules.missingVersionMessage, rules.versionMessagePrefix, rules.maximumVersion)) return false;
    nameSLVP.clear();
    Attribute("nameSLVP", nameSLVP);
    return true;
}

bool ContainerMetaData::LoadExtendedSettings(const std::string& text) {
    if (!ParseChecked(text, "Invalid Extended Settings checksum")) return false;
    if (std::strcmp(m_root.attribute("type").value(), "extendedSettings") != 0) {
        m_errorText = "Extended Settings type not found";
        return false;
    }
    return CheckVersion("Missing version syntax item", "Extended Settings Syntax format '", 1);
}

bool ContainerMetaData::Attribute(const char* name, std::string& value) const {
    const char* text = m_root.attribute(name).value();
    if (*text == '\0') return false;
    value = text;
    return true;
}

}  // namespace container
