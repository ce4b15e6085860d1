// Path lookups in a parsed device model or language document. A path is a
// list of element names, each preceded by "/" ("/Dev/MDM/Prot/IL1"), taken
// from the document node down; empty segments are skipped. Each segment picks
// the first child element, in document order, whose name matches it under
// the wildcard comparison (Wildcard.h); there is no backtracking to later
// children of the same name.
//
// The answers are those of a plain scan over the children. A parent with many
// children gets a name table the first time a lookup has to scan past the
// first few of them, so repeated lookups in wide documents stay cheap. The
// tables hold pointers into the documents: Clear() before a document they
// refer to is changed, reloaded or destroyed. Not thread-safe.
#ifndef DR_MVQ4_DEVICEMODEL_ELEMENT_INDEX_H
#define DR_MVQ4_DEVICEMODEL_ELEMENT_INDEX_H

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>

namespace devicemodel {

class ElementIndex {
public:
    // The first child element of `parent` whose name matches `segment`; an
    // empty node when there is none or `parent` is empty.
    pugi::xml_node Child(pugi::xml_node parent, std::string_view segment) const;
    // The element at `path` in the document that holds `node`; an empty node
    // when a segment finds nothing or the path has no segment.
    pugi::xml_node Find(pugi::xml_node node, std::string_view path) const;
    void Clear() { m_tables.clear(); }

private:
    using NameTable = std::unordered_map<std::string_view, pugi::xml_node_struct*>;
    const NameTable& Table(pugi::xml_node parent) const;

    mutable std::unordered_map<const pugi::xml_node_struct*, NameTable> m_tables;
};

// The absolute path of an element ("/Dev/MDM"); "" for the document node or
// an empty node. Non-element nodes contribute no segment.
std::string ElementPath(pugi::xml_node node);

// The attribute of `node` whose name matches `name` (wildcards allowed), the
// first one in document order; an empty attribute when there is none.
pugi::xml_attribute FindAttribute(pugi::xml_node node, std::string_view name);

// The value of attribute `name` of `node`; "" when it is absent.
std::string_view AttributeValue(pugi::xml_node node, const char* name);

}  // namespace devicemodel

#endif
