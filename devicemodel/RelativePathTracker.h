// Relative paths and channel keys of the elements met in a depth-first walk
// below a document's top element. The relative path of an element is "/"
// followed by the names from below the top element down to it ("/Prot/IL1");
// an ancestor that bears the top element's name ends the path as the top
// element does. The tracker keeps the path of the current branch and the key
// hash of each open level, so each element costs the length of its own name,
// whatever the depth of the document.
#ifndef DR_MVQ4_DEVICEMODEL_RELATIVE_PATH_TRACKER_H
#define DR_MVQ4_DEVICEMODEL_RELATIVE_PATH_TRACKER_H

#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "devicemodel/ChannelKey.h"

namespace devicemodel {

class RelativePathTracker {
public:
    explicit RelativePathTracker(std::string_view topName);

    // Moves to `element`, met at walk depth `depth` (1 for a child of the top
    // element; the elements of the levels above must have been entered).
    void Enter(pugi::xml_node element, size_t depth);
    // Whether `element` bears the top element's name (the upward walks stop
    // at such an element).
    bool IsTopName(pugi::xml_node element) const { return m_topName == element.name(); }
    // The relative path of the current element; valid until the next Enter.
    std::string_view Path() const { return std::string_view(m_path).substr(m_start); }
    int32_t KeyValue() const { return m_key; }
    std::string Key() const { return std::to_string(m_key); }

private:
    struct Level {
        size_t pathEnd = 0;     // length of the branch path up to this element
        size_t childStart = 0;  // where the children's relative paths begin
        KeyHasher childHash;    // the hash the children's relative paths start from
    };

    std::string m_topName;
    std::string m_path;  // names below the top element of the current branch
    std::vector<Level> m_levels;
    size_t m_start = 0;
    int32_t m_key = 0;
};

}  // namespace devicemodel

#endif
