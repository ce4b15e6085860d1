#include "devicemodel/CDataModelToHMI.h"

#include <cstring>
#include <utility>
#include <vector>

#include "devicemodel/CDataModelDependency.h"
#include "devicemodel/CParserUtilities.h"
#include "devicemodel/DocumentChecksum.h"
#include "platform/NumberParsing.h"

namespace devicemodel {

namespace {

constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments;
constexpr int32_t kLowestSyntax = 2;
constexpr int32_t kHighestSyntax = 13;

// A text handed over as a NUL-terminated string ends at its first NUL.
std::string_view CText(const std::string& text) { return std::string_view(text.c_str()); }

// Parses `text`; a document that is not well-formed is left empty.
bool Parse(std::string_view text, pugi::xml_document& document) {
    if (document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8)) return true;
    document.reset();
    return false;
}

std::string ErrorMessage(int32_t code, const std::string& versionSyntax) {
    switch (code) {
        case kDeviceModelChecksum:
            return "Missing or invalid checksum";
        case kDeviceModelSyntaxVersion:
            return "Device model syntax format '" + versionSyntax + "' not supported with this application.";
        case kDeviceModelMainAttributes:
            return "Missing necessary main attributes";
        case kDeviceModelNoMenuTree:
            return "None necessary element found with attribute name 'mode' and value = 'menuTree'";
        case kDeviceModelNoMenuRoot:
            return "None attribute value 'root' in HMI menu tree found!";
        default:
            return "Any other parsing error";
    }
}

bool HasMainAttributes(pugi::xml_node root) {
    if (root.type() != pugi::node_element) return false;
    for (const char* name : {"device", "versionContent", "multiSets", "versionSyntax"}) {
        if (*root.attribute(name).value() == '\0') return false;
    }
    return true;
}

pugi::xml_node NextSiblingElement(pugi::xml_node node) {
    do {
        node = node.next_sibling();
    } while (node && node.type() != pugi::node_element);
    return node;
}

// A mapping entry's "ref" and "with"; false when either is missing or empty.
bool ReadMapping(pugi::xml_node entry, std::string_view& ref, std::string_view& with) {
    ref = entry.attribute("ref").value();
    with = entry.attribute("with").value();
    return !ref.empty() && !with.empty();
}

}  // namespace

CDataModelToHMI::CDataModelToHMI()
    : m_document(new pugi::xml_document), m_utilities(new CParserUtilities()) {}

CDataModelToHMI::~CDataModelToHMI() = default;

bool CDataModelToHMI::Load(const std::string& text, DeviceModelError& error) {
    int32_t code = kDeviceModelOk;
    std::string versionSyntax;
    try {
        ResetModel();
        code = CheckModel(CText(text), versionSyntax);
        if (code == kDeviceModelOk) DeriveFacts();
    } catch (...) {
        if (code == kDeviceModelOk) code = kDeviceModelNotWellFormed;
    }
    if (code == kDeviceModelOk) return true;
    error.code = code;
    try {
        error.text = "Invalid device model!\n" + ErrorMessage(code, versionSyntax);
    } catch (...) {
        error.text.clear();
    }
    return false;
}

void CDataModelToHMI::ResetModel() {
    m_modelIndex.Clear();
    m_languageOf.clear();
    m_document.reset(new pugi::xml_document);
    m_root = pugi::xml_node();
    m_mdmSectionPath.clear();
    m_mdmSectionPathLength = 0;
    m_hasAnsiDeviceNumbers = false;
    m_mappingCursor = m_firstMapping = pugi::xml_node();
    m_firstMappingSearched = false;
}

// The load checks; the code of the first that fails, or 0.
int32_t CDataModelToHMI::CheckModel(std::string_view text, std::string& versionSyntax) {
    if (!Parse(text, *m_document)) return kDeviceModelNotWellFormed;
    const pugi::xml_node second = m_document->first_child().next_sibling();
    if (second.type() == pugi::node_element) m_root = second;
    if (!HasValidChecksum(text, *m_document)) return kDeviceModelChecksum;
    if (!HasMainAttributes(m_root)) return kDeviceModelMainAttributes;
    versionSyntax = m_root.attribute("versionSyntax").value();
    const int32_t version = platform::ParseInt32(versionSyntax);
    if (version < kLowestSyntax || version > kHighestSyntax) return kDeviceModelSyntaxVersion;
    pugi::xml_node menuTree;
    if (!m_utilities->FindElementByAttribute(*m_document, "mode", "menuTree", menuTree))
        return kDeviceModelNoMenuTree;
    pugi::xml_node menuRoot;
    if (!m_utilities->FindElementByAttribute(menuTree, "type", "root", menuRoot))
        return kDeviceModelNoMenuRoot;
    return kDeviceModelOk;
}

void CDataModelToHMI::DeriveFacts() {
    ReadMdmSection();
    m_hasAnsiDeviceNumbers = !GetMappedPath("pathAnsiDeviceNumbers").empty();
    CDataModelDependency dependency(*this);
    dependency.Evaluate(*m_document);
}

void CDataModelToHMI::ReadMdmSection() {
    pugi::xml_node section;
    if (!m_utilities->FindElementByAttribute(*m_document, "type", "sectionMDM", section)) return;
    m_mdmSectionPath = ElementPath(section);
    m_mdmSectionPathLength = static_cast<uint32_t>(m_mdmSectionPath.size());
}

bool CDataModelToHMI::LoadLanguage(const std::string& text) {
    m_languageIndex.Clear();
    m_languageOf.clear();
    m_language.reset(new pugi::xml_document);
    const std::string_view language = CText(text);
    if (!Parse(language, *m_language)) return false;
    if (HasValidChecksum(language, *m_language)) return true;
    m_language.reset();
    return false;
}

pugi::xml_node CDataModelToHMI::FirstMappingEntry() {
    if (!m_firstMappingSearched) {
        m_utilities->FindElementByAttribute(*m_document, "type", "mapping", m_firstMapping);
        m_firstMappingSearched = true;
    }
    return m_firstMapping;
}

std::string CDataModelToHMI::GetMappedPath(const std::string& key) {
    pugi::xml_node entry = FirstMappingEntry();
    std::string_view ref;
    std::string_view with;
    if (!ReadMapping(entry, ref, with)) return std::string();
    m_mappingCursor = entry;
    while (with != key) {
        entry = NextSiblingElement(entry);
        if (!entry) return std::string();
        m_mappingCursor = entry;
        if (!ReadMapping(entry, ref, with)) return std::string();
    }
    return ResolvePath(m_root, std::string(ref));
}

std::string CDataModelToHMI::ResolvePath(pugi::xml_node base, const std::string& reference) const {
    const std::string basePath = ElementPath(base);
    if (reference.empty()) return basePath + "/";
    if (reference.compare(0, basePath.size(), basePath) == 0) return reference;
    return basePath + "/" + reference;
}

pugi::xml_node CDataModelToHMI::FindElement(std::string_view absolutePath) const {
    return m_modelIndex.Find(*m_document, absolutePath);
}

pugi::xml_node CDataModelToHMI::FindChild(pugi::xml_node parent, std::string_view segment) const {
    return m_modelIndex.Child(parent, segment);
}

bool CDataModelToHMI::IsModuleElement(pugi::xml_node node) {
    const char* type = node.attribute("type").value();
    return std::strcmp(type, "mdm") == 0 || std::strcmp(type, "mdmAppFrame") == 0 ||
           std::strcmp(type, "mdmDevice") == 0;
}

// The language element at the path of `element`. Elements of the model are
// remembered with their answer, so a walk over the model asks the language
// document once per element instead of once per path segment.
pugi::xml_node CDataModelToHMI::LanguageElement(pugi::xml_node element) const {
    if (element.root() != m_document->root()) return m_languageIndex.Find(*m_language, ElementPath(element));
    std::vector<pugi::xml_node> unknown;  // from `element` up to the first known ancestor
    pugi::xml_node language = *m_language;
    for (pugi::xml_node node = element; node && node.type() != pugi::node_document; node = node.parent()) {
        const auto known = m_languageOf.find(node.internal_object());
        if (known != m_languageOf.end()) {
            language = pugi::xml_node(known->second);
            break;
        }
        unknown.push_back(node);
    }
    for (auto node = unknown.rbegin(); node != unknown.rend(); ++node) {
        language = node->type() == pugi::node_element ? m_languageIndex.Child(language, node->name())
                                                      : pugi::xml_node();
        m_languageOf.emplace(node->internal_object(), language.internal_object());
    }
    return language;
}

bool CDataModelToHMI::GetNodeText(pugi::xml_node element, std::string_view attribute,
                                  std::string& text) const {
    const auto fallback = [&](char open, char close) {
        text.assign(1, open).append(element.name()).push_back(close);
        return false;
    };
    if (!m_language || element.type() != pugi::node_element) return fallback('[', ']');
    const pugi::xml_node language = LanguageElement(element);
    if (!language) return fallback('{', '}');
    const pugi::xml_attribute value = FindAttribute(language, attribute);
    if (!value) return fallback('(', ')');
    text = value.value();
    return true;
}

pugi::xml_node CDataModelToHMI::TextElement(pugi::xml_node element) const {
    const char* reference = element.attribute("textRef").value();
    if (*reference == '\0') return element;
    return FindElement(ResolvePath(m_root, reference));
}

std::string CDataModelToHMI::GetText(const std::string& absolutePath) const {
    const pugi::xml_node element = FindElement(absolutePath);
    return element ? GetElementText(element) : std::string();
}

std::string CDataModelToHMI::GetElementText(pugi::xml_node element) const {
    if (!element) return std::string();
    const pugi::xml_node textElement = TextElement(element);
    std::string shortText;
    GetNodeText(textElement, "shortText", shortText);
    const std::string_view style = element.attribute("textStyle").value();
    const bool overview = style == "moduleOverview";
    if (!m_displayAnsiDeviceNumbers && !overview) return shortText;
    std::string longText;
    GetNodeText(textElement, "longText", longText);
    if (longText.empty()) return shortText;
    const bool ansi =
        m_displayAnsiDeviceNumbers && (textElement.attribute("mdm") || style == "ANSIDeviceNumber");
    if (overview || ansi) return shortText + " - " + longText;
    return style == "long" ? longText : shortText;
}

bool CDataModelToHMI::GetShortText(const std::string& path, bool absolute, std::string& text) const {
    const std::string fullPath = absolute ? path : MakeFullPath(path);
    const pugi::xml_node element = FindElement(fullPath);
    if (element) return GetNodeText(element, "shortText", text);
    text = "[" + fullPath.substr(fullPath.rfind('/') + 1) + "]";
    return false;
}

std::string CDataModelToHMI::MakeFullPath(const std::string& relative) const {
    if (!relative.empty() && relative.front() == '/') return m_mdmSectionPath + relative;
    return m_mdmSectionPath + "/" + relative;
}

std::string CDataModelToHMI::StripSectionPath(const std::string& absolute) const {
    const size_t length = size_t{m_mdmSectionPathLength} + 1;
    return absolute.size() > length ? absolute.substr(length) : std::string();
}

}  // namespace devicemodel
