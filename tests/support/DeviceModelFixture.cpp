#include "support/DeviceModelFixture.h"

#include <sstream>

#include "devicemodel/ChannelKey.h"
#include "support/ContainerFixture.h"

namespace fixture {

DeviceModelBuilder::DeviceModelBuilder() {
    m_model.load_string(
        "<Dev device='CVR87' versionContent='V04.10.02' multiSets='4' versionSyntax='5'>"
        "<MDM type='sectionMDM'/><Menu type='folder' mode='menuTree'><Root type='root'/></Menu></Dev>");
    Language("ENG");
}

pugi::xml_document& DeviceModelBuilder::Language(const std::string& language) {
    pugi::xml_document& document = m_languages[language];
    if (!document.first_child()) document.append_child("Dev").append_child("MDM");
    return document;
}

std::string DeviceModelBuilder::Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/' ? path : "/Dev/MDM/" + path;
}

std::string DeviceModelBuilder::Key(const std::string& relativePath) {
    return devicemodel::ChannelKey(!relativePath.empty() && relativePath.front() == '/' ? relativePath
                                                                                        : "/" + relativePath);
}

// The element at `path`, creating missing ones ("folder" in the model) when
// `create` is set.
pugi::xml_node DeviceModelBuilder::Node(pugi::xml_document& document, const std::string& path, bool create) {
    pugi::xml_node node = document;
    std::stringstream parts(Absolute(path).substr(1));
    std::string part;
    while (node && std::getline(parts, part, '/')) {
        pugi::xml_node child = node.child(part.c_str());
        if (!child && create) {
            child = node.append_child(part.c_str());
            if (&document == &m_model) child.append_attribute("type") = "folder";
        }
        node = child;
    }
    return node;
}

DeviceModelBuilder& DeviceModelBuilder::Element(const std::string& path, const std::string& type) {
    pugi::xml_node node = Node(m_model, path, true);
    node.remove_attribute("type");
    if (!type.empty()) SetAttribute(node, "type", type);
    Node(Language(), path, true);
    return *this;
}

DeviceModelBuilder& DeviceModelBuilder::Module(const std::string& path, const std::string& shortText,
                                               const std::string& type) {
    return Element(path, type).Text(path, shortText);
}

DeviceModelBuilder& DeviceModelBuilder::Channel(const std::string& path, const std::string& shortText,
                                                const std::string& longText) {
    return Element(path).Text(path, shortText, longText);
}

DeviceModelBuilder& DeviceModelBuilder::Set(const std::string& path, const std::string& attribute,
                                            const std::string& value) {
    SetAttribute(Node(m_model, path, true), attribute, value);
    return *this;
}

DeviceModelBuilder& DeviceModelBuilder::Remove(const std::string& path, const std::string& attribute) {
    RemoveNode(Node(m_model, path, false), attribute);
    return *this;
}

DeviceModelBuilder& DeviceModelBuilder::Mapping(const std::string& with, const std::string& ref) {
    pugi::xml_node entry =
        Node(m_model, "/Dev/Mappings", true).append_child(("Map" + std::to_string(++m_mappings)).c_str());
    SetAttribute(entry, "type", "mapping");
    SetAttribute(entry, "ref", ref);
    SetAttribute(entry, "with", with);
    return *this;
}

DeviceModelBuilder& DeviceModelBuilder::Text(const std::string& path, const std::string& shortText,
                                             const std::string& longText, const std::string& language) {
    LanguageSet(path, "shortText", shortText, language);
    if (!longText.empty()) LanguageSet(path, "longText", longText, language);
    return *this;
}

DeviceModelBuilder& DeviceModelBuilder::LanguageSet(const std::string& path, const std::string& attribute,
                                                    const std::string& value, const std::string& language) {
    SetAttribute(Node(Language(language), path, true), attribute, value);
    return *this;
}

std::string DeviceModelBuilder::ModelXml() const { return SelfChecksummed(RootXml(m_model)); }

std::string DeviceModelBuilder::LanguageXml(const std::string& language) const {
    const auto found = m_languages.find(language);
    return found == m_languages.end() ? std::string() : SelfChecksummed(RootXml(found->second));
}

std::string RootXml(const pugi::xml_document& document) {
    std::ostringstream text;
    document.document_element().print(text, "", pugi::format_raw);
    return text.str();
}

}  // namespace fixture
