#include "devicemodel/ElementModuleList.h"

#include <utility>

#include "devicemodel/CDataModelToHMI.h"

namespace devicemodel {

namespace {

const char kNoModule[] = "0";

}  // namespace

void ElementModuleList::Add(std::string key, std::string moduleKey) {
    m_firstByKey.emplace(key, m_entries.size());  // the first entry of a key wins
    m_entries.push_back(Entry{std::move(key), std::move(moduleKey)});
}

const std::string* ElementModuleList::ModuleOf(const std::string& key) const {
    const auto found = m_firstByKey.find(key);
    return found == m_firstByKey.end() ? nullptr : &m_entries[found->second].moduleKey;
}

void ElementModuleList::Clear() {
    m_entries.clear();
    m_firstByKey.clear();
}

ElementModuleWalker::ElementModuleWalker(std::string_view topName, ElementModuleList& list)
    : m_paths(topName), m_modules{Module(kNoModule)}, m_list(&list) {}

bool ElementModuleWalker::for_each(pugi::xml_node node, bool& descend) {
    if (node.type() != pugi::node_element) {
        descend = false;
        return true;
    }
    const size_t level = static_cast<size_t>(depth());
    m_paths.Enter(node, level);
    m_modules.resize(level);
    const Module own = m_modules.back();
    std::string key = m_paths.Key();
    if (own) m_list->Add(key, *own);
    m_modules.push_back(ModuleOfChildren(node, std::move(key), own));
    return true;
}

// The module the children of `element` get: the upward walk from a child
// stops at a top-name element, ends at a module element, and fails at an
// element without a type; otherwise it goes on to the element's own module.
ElementModuleWalker::Module ElementModuleWalker::ModuleOfChildren(pugi::xml_node element, std::string key,
                                                                  const Module& own) const {
    if (m_paths.IsTopName(element)) return Module(kNoModule);
    if (CDataModelToHMI::IsModuleElement(element)) return Module(std::move(key));
    if (*element.attribute("type").value() == '\0') return Module();
    return own;
}

}  // namespace devicemodel
