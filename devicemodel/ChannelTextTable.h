// Channel texts from the device model: key text -> (channel text, module
// text), in the order they were added. Filled when a device model is applied;
// read when analog channels, units and digital signals are named.
#ifndef DR_MVQ4_DEVICEMODEL_CHANNEL_TEXT_TABLE_H
#define DR_MVQ4_DEVICEMODEL_CHANNEL_TEXT_TABLE_H

#include <string>
#include <unordered_map>
#include <vector>

namespace devicemodel {

class ChannelTextTable {
public:
    enum class Lookup { kFound, kTableEmpty, kKeyMissing };

    struct Entry {
        std::string key;
        std::string channelText;
        std::string moduleText;
    };

    void Add(std::string key, std::string channelText, std::string moduleText);
    // The first entry with an equal key; `entry` is set only when found.
    Lookup Find(const std::string& key, const Entry** entry) const;
    bool Empty() const { return m_entries.empty(); }
    size_t Size() const { return m_entries.size(); }
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, size_t> m_firstByKey;  // keeps lookups constant-time
};

// The display name of a channel whose key text was looked up: the channel
// text (prefixed with the module text and " . " when `withModule`), or the
// short key in "[...]" when the table is empty and "{...}" when the key is
// missing from it.
std::string ChannelName(const ChannelTextTable& table, const std::string& lookupKey, const std::string& shortKey,
                        bool withModule);

}  // namespace devicemodel

#endif
