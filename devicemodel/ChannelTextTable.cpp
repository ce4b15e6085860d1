#include "devicemodel/ChannelTextTable.h"

#include <utility>

namespace devicemodel {

void ChannelTextTable::Add(std::string key, std::string channelText, std::string moduleText) {
    m_firstByKey.emplace(key, m_entries.size());  // the first entry of a key wins
    m_entries.push_back(Entry{std::move(key), std::move(channelText), std::move(moduleText)});
}

ChannelTextTable::Lookup ChannelTextTable::Find(const std::string& key, const Entry** entry) const {
    if (m_entries.empty()) return Lookup::kTableEmpty;
    const auto found = m_firstByKey.find(key);
    if (found == m_firstByKey.end()) return Lookup::kKeyMissing;
    *entry = &m_entries[found->second];
    return Lookup::kFound;
}

std::string ChannelName(const ChannelTextTable& table, const std::string& lookupKey, const std::string& shortKey,
                        bool withModule) {
    const ChannelTextTable::Entry* entry = nullptr;
    switch (table.Find(lookupKey, &entry)) {
        case ChannelTextTable::Lookup::kFound:
            return withModule ? entry->moduleText + " . " + entry->channelText : entry->channelText;
        case ChannelTextTable::Lookup::kTableEmpty:
            return "[" + shortKey + "]";
        case ChannelTextTable::Lookup::kKeyMissing:
            break;
    }
    return "{" + shortKey + "}";
}

}  // namespace devicemodel
