#include "devicemodel/CParserUtilities.h"

#include <cstring>
#include <utility>

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/ElementIndex.h"

namespace devicemodel {

void CSearchAttributeRecursive::Reset(std::string name, std::string value) {
    m_name = std::move(name);
    m_value = std::move(value);
    m_element = pugi::xml_node();
    m_found = false;
    ResetDepth();
}

bool CSearchAttributeRecursive::for_each(pugi::xml_node node, bool&) {
    const pugi::xml_attribute attribute = FindAttribute(node, m_name);
    if (!attribute || m_value != attribute.value()) return true;
    m_element = node;
    m_found = true;
    return false;
}

void CPathCollector::Append(pugi::xml_node element) {
    std::string path = ElementPath(element);
    m_paths.push_back(m_keepFull ? std::move(path) : m_model->StripSectionPath(path));
}

bool CGetAllMdmPathes::for_each(pugi::xml_node node, bool&) {
    if (node.type() == pugi::node_element) Append(node);
    return true;
}

bool CGetAllProjectedModules::for_each(pugi::xml_node node, bool&) {
    if (CDataModelToHMI::IsModuleElement(node) &&
        std::strcmp(node.attribute("projected").value(), "false") != 0) {
        Append(node);
    }
    return true;
}

CParserUtilities::CParserUtilities(const CDataModelToHMI& model)
    : m_allPathes(model, true), m_projectedModules(model, true) {}

bool CParserUtilities::FindElementByAttribute(pugi::xml_node start, const std::string& name,
                                              const std::string& value, pugi::xml_node& element) {
    m_search.Reset(name, value);
    Traverse(start, m_search);
    element = m_search.FoundElement();
    return m_search.Found();
}

}  // namespace devicemodel
