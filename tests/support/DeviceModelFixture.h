// Fixture writer for device models: builds a device model document and its
// language documents from a few calls, so that a test states only what it is
// about. A fresh builder holds a model that passes every load check:
//
//   <Dev device="CVR87" versionContent="V04.10.02" multiSets="4" versionSyntax="5">
//     <MDM type="sectionMDM"/>                       the top element
//     <Menu type="folder" mode="menuTree"><Root type="root"/></Menu>
//   </Dev>
//
// and an "ENG" language document <Dev><MDM/></Dev>. Both are written in the
// self-checksummed layout (SelfChecksummed of the container fixture).
//
// Paths: "Prot/IL1" is relative to the MDM section (so its channel key is the
// key of "/Prot/IL1"); a path starting with "/" is absolute ("/Dev/Menu").
// Elements are appended in call order; parents that do not exist yet are
// created with type "folder", in the model and in the language document.
#ifndef DR_MVQ4_TESTS_SUPPORT_DEVICE_MODEL_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_DEVICE_MODEL_FIXTURE_H

#include <map>
#include <pugixml.hpp>
#include <string>

namespace fixture {

class DeviceModelBuilder {
public:
    DeviceModelBuilder();
    DeviceModelBuilder(const DeviceModelBuilder&) = delete;
    DeviceModelBuilder& operator=(const DeviceModelBuilder&) = delete;

    // A model element of type `type` (an empty type writes no attribute).
    DeviceModelBuilder& Element(const std::string& path, const std::string& type = "value");
    // A module element ("mdm", "mdmAppFrame" or "mdmDevice") with its short text.
    DeviceModelBuilder& Module(const std::string& path, const std::string& shortText,
                               const std::string& type = "mdm");
    // A model element with its short (and, when not empty, long) text.
    DeviceModelBuilder& Channel(const std::string& path, const std::string& shortText,
                                const std::string& longText = "");
    // Sets an attribute of the model element, creating it ("/Dev": the root).
    DeviceModelBuilder& Set(const std::string& path, const std::string& attribute, const std::string& value);
    // Removes the model element, or one attribute of it when `attribute` is given.
    DeviceModelBuilder& Remove(const std::string& path, const std::string& attribute = "");
    // A mapping entry <MapN type="mapping" ref with> below /Dev/Mappings.
    DeviceModelBuilder& Mapping(const std::string& with, const std::string& ref);

    // The language element at `path` gets "shortText" (and "longText" when
    // not empty).
    DeviceModelBuilder& Text(const std::string& path, const std::string& shortText,
                             const std::string& longText = "", const std::string& language = "ENG");
    // Sets an attribute of the language element, creating it.
    DeviceModelBuilder& LanguageSet(const std::string& path, const std::string& attribute,
                                    const std::string& value, const std::string& language = "ENG");

    pugi::xml_document& Model() { return m_model; }
    pugi::xml_document& Language(const std::string& language = "ENG");
    // The documents as self-checksummed texts.
    std::string ModelXml() const;
    std::string LanguageXml(const std::string& language = "ENG") const;

    // The channel key of a path relative to the MDM section ("Prot/IL1").
    static std::string Key(const std::string& relativePath);
    // "/Dev/MDM/" + `path` for relative paths; absolute paths unchanged.
    static std::string Absolute(const std::string& path);

private:
    pugi::xml_node Node(pugi::xml_document& document, const std::string& path, bool create);

    pugi::xml_document m_model;
    std::map<std::string, pugi::xml_document> m_languages;
    int m_mappings = 0;
};

// The raw text of the root element of `document`.
std::string RootXml(const pugi::xml_document& document);

}  // namespace fixture

#endif
