// The one access rule of the record decoder: an attribute reached through a
// path of element names, where the first child of each name is taken and an
// empty attribute counts as missing.
#ifndef DR_MVQ4_RECORD_XML_ACCESS_H
#define DR_MVQ4_RECORD_XML_ACCESS_H

#include <pugixml.hpp>

#include <initializer_list>
#include <string_view>

namespace record {

using ElementPath = std::initializer_list<const char*>;

// Follows `path` from `start` (first child element of each name, exact
// comparison) and reads `attribute` there. True only when the path exists
// and the attribute's text is not empty; `text` is written only then.
bool GetPathAttribute(pugi::xml_node start, ElementPath path, const char* attribute, std::string_view& text);

// The element at `path` below `start`, or an empty node.
pugi::xml_node FindPath(pugi::xml_node start, ElementPath path);

// The attribute text of `node` (empty when absent); same as the access rule
// with an empty path, for callers that test emptiness themselves.
std::string_view AttributeText(pugi::xml_node node, const char* attribute);

}  // namespace record

#endif
