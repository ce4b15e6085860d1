#include "devicemodel/ElementIndex.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "devicemodel/Wildcard.h"

namespace devicemodel {

namespace {

// Children a lookup scans before it builds a name table for the parent.
constexpr size_t kScanLimit = 16;

bool IsElement(pugi::xml_node node) { return node.type() == pugi::node_element; }

}  // namespace

const ElementIndex::NameTable& ElementIndex::Table(pugi::xml_node parent) const {
    NameTable& table = m_tables[parent.internal_object()];
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (IsElement(child)) table.emplace(child.name(), child.internal_object());  // first one wins
    }
    return table;
}

pugi::xml_node ElementIndex::Child(pugi::xml_node parent, std::string_view segment) const {
    if (!parent) return pugi::xml_node();
    if (HasWildcard(segment)) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (IsElement(child) && WildcardMatch(segment, child.name())) return child;
        }
        return pugi::xml_node();
    }
    const auto indexed = m_tables.find(parent.internal_object());
    const NameTable* table = indexed == m_tables.end() ? nullptr : &indexed->second;
    if (table == nullptr) {
        size_t scanned = 0;
        for (pugi::xml_node child = parent.first_child(); child && scanned < kScanLimit;
             child = child.next_sibling(), ++scanned) {
            if (IsElement(child) && segment == child.name()) return child;
            if (!child.next_sibling()) return pugi::xml_node();
        }
        table = &Table(parent);
    }
    const auto found = table->find(segment);
    return found == table->end() ? pugi::xml_node() : pugi::xml_node(found->second);
}

pugi::xml_node ElementIndex::Find(pugi::xml_node node, std::string_view path) const {
    pugi::xml_node current = node.root();
    bool anySegment = false;
    size_t pos = 0;
    while (current && pos < path.size()) {
        const size_t end = std::min(path.find('/', pos), path.size());
        if (end > pos) {
            current = Child(current, path.substr(pos, end - pos));
            anySegment = true;
        }
        pos = end + 1;
    }
    return anySegment ? current : pugi::xml_node();
}

std::string ElementPath(pugi::xml_node node) {
    std::vector<std::string_view> names;
    size_t length = 0;
    for (; node; node = node.parent()) {
        if (!IsElement(node)) continue;
        names.emplace_back(node.name());
        length += names.back().size() + 1;
    }
    std::string path;
    path.reserve(length);
    for (auto name = names.rbegin(); name != names.rend(); ++name) path.append("/").append(*name);
    return path;
}

pugi::xml_attribute FindAttribute(pugi::xml_node node, std::string_view name) {
    if (!HasWildcard(name)) {
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (name == attribute.name()) return attribute;
        }
        return pugi::xml_attribute();
    }
    for (pugi::xml_attribute attribute : node.attributes()) {
        if (WildcardMatch(name, attribute.name())) return attribute;
    }
    return pugi::xml_attribute();
}

std::string_view AttributeValue(pugi::xml_node node, const char* name) {
    return node.attribute(name).value();
}

}  // namespace devicemodel
