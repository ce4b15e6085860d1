// A loaded device model and its language document: the load checks with their
// numbered errors, the facts a load derives from a model that passed them
// (the MDM section and whether ANSI device numbers are mapped), and the path
// and text queries that name channels, units and modules.
//
// A device model is a self-checksummed XML document describing one relay
// type; every readable text lives on the element at the same path in the
// language document (attributes "shortText", "longText", "helpText"). Paths
// are absolute ("/Dev/MDM/Prot/IL1"); segments may hold wildcards and pick
// the first matching child (ElementIndex.h). Relative data-model paths are
// taken below the MDM section (the element of type "sectionMDM").
//
// Nothing here throws except std::bad_alloc from the queries; Load catches
// everything. Queries never change the documents; they keep lookup tables
// for speed, so one object is used by one thread at a time.
#ifndef DR_MVQ4_DEVICEMODEL_C_DATA_MODEL_TO_HMI_H
#define DR_MVQ4_DEVICEMODEL_C_DATA_MODEL_TO_HMI_H

#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>

#include "devicemodel/ElementIndex.h"

namespace devicemodel {

class CParserUtilities;

// Numbered load errors; the message of each is listed with Load.
enum DeviceModelErrorCode : int32_t {
    kDeviceModelOk = 0,
    kDeviceModelChecksum = 1,
    kDeviceModelSyntaxVersion = 2,
    kDeviceModelMainAttributes = 3,
    kDeviceModelNoMenuTree = 4,
    kDeviceModelNoMenuRoot = 5,
    kDeviceModelNotWellFormed = 6,
};

// The result of a failed load. The caller sets code to 0 before loading; a
// successful load leaves the record untouched.
struct DeviceModelError {
    int32_t code = kDeviceModelOk;
    std::string text;
};

class CDataModelToHMI {
public:
    // No documents, empty paths, flags false.
    CDataModelToHMI();
    ~CDataModelToHMI();
    CDataModelToHMI(const CDataModelToHMI&) = delete;
    CDataModelToHMI& operator=(const CDataModelToHMI&) = delete;

    // Parses and checks a device model text (up to its first NUL byte),
    // replacing what an earlier load left. Checks in order, the first failure
    // ends the load with false and sets `error` to its code and to the text
    // "Invalid device model!\n" + message:
    //   6 not well-formed               "Any other parsing error"
    //   1 checksum missing or wrong     "Missing or invalid checksum"
    //   3 no root element (top-level node 1), or "device", "versionContent",
    //     "multiSets" or "versionSyntax" missing or empty
    //                                   "Missing necessary main attributes"
    //   2 versionSyntax not 2 to 13     "Device model syntax format '<value>'
    //                                    not supported with this application."
    //   4 no element with mode "menuTree"
    //       "None necessary element found with attribute name 'mode' and value = 'menuTree'"
    //   5 no element with type "root" inside it
    //       "None attribute value 'root' in HMI menu tree found!"
    // An exception while loading (memory) gives false with code 6 unless a
    // check had already failed. A parsed model stays after a failed check, so
    // path and text queries still answer; the derived facts are set only when
    // every check passed.
    bool Load(const std::string& text, DeviceModelError& error);
    // Parses the language text (up to its first NUL byte). True when it is
    // well-formed and its checksum is valid. A wrong checksum drops the
    // document (texts come out as "[name]"); a text that is not well-formed
    // leaves an empty document (texts come out as "{name}").
    bool LoadLanguage(const std::string& text);

    // The path the mapping entries give for `key` ("with" attribute), resolved
    // against the root element; "" when the key is not in the table. The
    // table is the first element of type "mapping" and its following sibling
    // elements up to the first without a non-empty "ref" and "with".
    std::string GetMappedPath(const std::string& key);
    // `reference` as an absolute path: base path + "/" when it is empty,
    // itself when it begins with the base path, else base path + "/" + it.
    std::string ResolvePath(pugi::xml_node base, const std::string& reference) const;

    // The language text `attribute` (wildcards allowed) of a model element.
    // False with a fallback text: "[name]" without a language document or
    // element, "{name}" when the element's path is missing in the language
    // document, "(name)" when the language element lacks the attribute.
    bool GetNodeText(pugi::xml_node element, std::string_view attribute, std::string& text) const;
    // The display text of the model element at `absolutePath`; "" when there
    // is none. See GetElementText.
    std::string GetText(const std::string& absolutePath) const;
    // The display text of a model element: the texts come from the element
    // its "textRef" names (relative to the root element) or from itself;
    // the short text, or with "textStyle" "moduleOverview" (or ANSI device
    // numbers displayed and an "mdm" attribute or style "ANSIDeviceNumber")
    // short + " - " + long, or with style "long" and ANSI numbers displayed
    // the long text. An empty long text leaves the short text.
    std::string GetElementText(pugi::xml_node element) const;
    // The short text of the element at `path` (absolute, or relative to the
    // MDM section). A missing element gives "[" + last segment + "]", false.
    bool GetShortText(const std::string& path, bool absolute, std::string& text) const;
    // MDM section path + `relative` (with a "/" put in front when missing).
    std::string MakeFullPath(const std::string& relative) const;
    // `absolute` without its first (MDM section path length + 1) characters.
    std::string StripSectionPath(const std::string& absolute) const;

    // The model element at `absolutePath`, or an empty node.
    pugi::xml_node FindElement(std::string_view absolutePath) const;
    // One step of a model path lookup: the first child element of `parent`
    // whose name matches `segment`.
    pugi::xml_node FindChild(pugi::xml_node parent, std::string_view segment) const;
    // Type "mdm", "mdmAppFrame" or "mdmDevice".
    static bool IsModuleElement(pugi::xml_node node);

    const pugi::xml_document& Document() const { return *m_document; }
    // Top-level node 1 when it is an element, else an empty node.
    pugi::xml_node RootElement() const { return m_root; }
    const std::string& MdmSectionPath() const { return m_mdmSectionPath; }
    uint32_t MdmSectionPathLength() const { return m_mdmSectionPathLength; }
    bool HasAnsiDeviceNumbers() const { return m_hasAnsiDeviceNumbers; }
    bool DisplayAnsiDeviceNumbers() const { return m_displayAnsiDeviceNumbers; }
    void SetDisplayAnsiDeviceNumbers(bool display) { m_displayAnsiDeviceNumbers = display; }
    pugi::xml_node MappingCursor() const { return m_mappingCursor; }

private:
    void ResetModel();
    int32_t CheckModel(std::string_view text, std::string& versionSyntax);
    void DeriveFacts();
    void ReadMdmSection();
    pugi::xml_node FirstMappingEntry();
    pugi::xml_node TextElement(pugi::xml_node element) const;
    pugi::xml_node LanguageElement(pugi::xml_node element) const;

    std::unique_ptr<pugi::xml_document> m_document;
    std::unique_ptr<pugi::xml_document> m_language;  // null: no language document
    std::unique_ptr<CParserUtilities> m_utilities;
    ElementIndex m_modelIndex;
    ElementIndex m_languageIndex;
    // Model element -> language element at the same path, filled as asked.
    mutable std::unordered_map<const pugi::xml_node_struct*, pugi::xml_node_struct*> m_languageOf;
    pugi::xml_node m_root;
    std::string m_mdmSectionPath;
    uint32_t m_mdmSectionPathLength = 0;
    bool m_hasAnsiDeviceNumbers = false;
    bool m_displayAnsiDeviceNumbers = false;
    pugi::xml_node m_mappingCursor;
    pugi::xml_node m_firstMapping;
    bool m_firstMappingSearched = false;
};

}  // namespace devicemodel

#endif
