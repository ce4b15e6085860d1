#include "devicemodel/RelativePathTracker.h"

namespace devicemodel {

RelativePathTracker::RelativePathTracker(std::string_view topName) : m_topName(topName), m_levels(1) {}

void RelativePathTracker::Enter(pugi::xml_node element, size_t depth) {
    m_levels.resize(depth < 1 ? 1 : depth);
    const Level parent = m_levels.back();
    const std::string_view name = element.name();
    m_path.resize(parent.pathEnd);
    m_path.append("/").append(name);
    m_start = parent.childStart;
    KeyHasher hash = parent.childHash;
    hash.Append("/");
    hash.Append(name);
    m_key = hash.Value();
    const bool top = name == m_topName;
    m_levels.push_back(Level{m_path.size(), top ? m_path.size() : m_start, top ? KeyHasher() : hash});
}

}  // namespace devicemodel
