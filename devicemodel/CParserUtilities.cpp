#include "devicemodel/CParserUtilities.h"

#include <utility>

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

bool CParserUtilities::FindElementByAttribute(pugi::xml_node start, const std::string& name,
                                              const std::string& value, pugi::xml_node& element) {
    m_search.Reset(name, value);
    Traverse(start, m_search);
    element = m_search.FoundElement();
    return m_search.Found();
}

}  // namespace devicemodel
