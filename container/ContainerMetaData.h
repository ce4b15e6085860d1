// A self-checksummed XML document of a container: the "MetaData" entry that
// guards a container's other entries, or the "ExtendedSettings" entry of a
// record container. The document is an XML declaration, the root element
// whose attributes carry the data, and a 64-byte checksum comment closing
// with a line feed; the comment's digest covers every byte of the text but
// the last 65. Processing instructions and comments count as top-level nodes:
// node 1 is taken as the root and node 2 as the checksum comment.
//
// A load keeps a copy of the text and the parsed document until the next
// load or destruction. A failed load leaves its reason in ErrorText(); the
// text is not cleared by a later success. No exceptions, no user messages.
#ifndef DR_MVQ4_CONTAINER_CONTAINER_META_DATA_H
#define DR_MVQ4_CONTAINER_CONTAINER_META_DATA_H

#include <pugixml.hpp>

#include <cstdint>
#include <string>

namespace container {

class ContainerMetaData {
public:
    // Which container the meta data belongs to: the accepted syntax versions
    // and some messages differ.
    enum class Variant { RecordContainer, DeviceContainer };

    explicit ContainerMetaData(Variant variant = Variant::RecordContainer);
    ContainerMetaData(const ContainerMetaData&) = delete;
    ContainerMetaData& operator=(const ContainerMetaData&) = delete;

    // Checks and parses a "MetaData" document: own checksum, the container
    // data checksum attribute and the syntax version. On success
    // `checksumContainerData` holds that attribute and `nameSLVP` the
    // "nameSLVP" attribute (empty when absent). A text that does not parse
    // fails with the error text unchanged.
    bool Load(const std::string& text, std::string& nameSLVP, std::string& checksumContainerData);
    // Checks and parses an "ExtendedSettings" document: own checksum, root
    // type "extendedSettings" and syntax version 1. On success Root() is the
    // settings' root element.
    bool LoadExtendedSettings(const std::string& text);

    // A root attribute: true only when present with a non-empty value;
    // `value` is written only then.
    bool Attribute(const char* name, std::string& value) const;
    // The root element (top-level node 1) after a load that parsed; empty
    // before.
    pugi::xml_node Root() const { return m_root; }
    const std::string& ErrorText() const { return m_errorText; }
    // The document text as last loaded.
    const std::string& Text() const { return m_text; }

private:
    bool ParseChecked(const std::string& text, const char* checksumMessage);
    bool CheckVersion(const char* missingMessage, const char* messagePrefix, int32_t maximum);

    Variant m_variant;
    pugi::xml_document m_document;
    pugi::xml_node m_root;
    std::string m_errorText;
    std::string m_text;
};

}  // namespace container

#endif
