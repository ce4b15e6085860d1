#include "record/XmlAccess.h"

namespace record {

pugi::xml_node FindPath(pugi::xml_node start, ElementPath path) {
    pugi::xml_node node = start;
    for (const char* name : path) {
        if (!node) break;
        node = node.child(name);
    }
    return node;
}

std::string_view AttributeText(pugi::xml_node node, const char* attribute) {
    return std::string_view(node.attribute(attribute).value());
}

bool GetPathAttribute(pugi::xml_node start, ElementPath path, const char* attribute, std::string_view& text) {
    const pugi::xml_node node = FindPath(start, path);
    if (!node) return false;
    const std::string_view value = AttributeText(node, attribute);
    if (value.empty()) return false;
    text = value;
    return true;
}

}  // namespace record
