// The element-module list of a device model: for each element below the top
// element, its channel key and the key of the module element it belongs to
// ("0" when it is outside every module). ElementModuleWalker fills it in one
// walk over the model.
//
// An element's module is its nearest ancestor of type "mdm", "mdmAppFrame" or
// "mdmDevice", looking from its parent upwards and stopping at the top
// element (or an ancestor bearing its name). Every ancestor passed on the way
// must have a non-empty "type"; when one has not, the element gets no entry.
#ifndef DR_MVQ4_DEVICEMODEL_ELEMENT_MODULE_LIST_H
#define DR_MVQ4_DEVICEMODEL_ELEMENT_MODULE_LIST_H

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "devicemodel/RelativePathTracker.h"
#include "devicemodel/TreeWalker.h"

namespace devicemodel {

class ElementModuleList {
public:
    struct Entry {
        std::string key;
        std::string moduleKey;
    };

    void Add(std::string key, std::string moduleKey);
    // The module key of the first entry with `key`, or null.
    const std::string* ModuleOf(const std::string& key) const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear();

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, size_t> m_firstByKey;
};

// Walk it over the model's top element (Traverse) to fill the list.
class ElementModuleWalker : public TreeWalker {
public:
    ElementModuleWalker(std::string_view topName, ElementModuleList& list);
    bool for_each(pugi::xml_node node, bool& descend) override;

private:
    using Module = std::optional<std::string>;  // empty: no entry below
    Module ModuleOfChildren(pugi::xml_node element, std::string key, const Module& own) const;

    RelativePathTracker m_paths;
    std::vector<Module> m_modules;  // per open level: the module its children get
    ElementModuleList* m_list;
};

}  // namespace devicemodel

#endif
