#include "host/ChannelSelection.h"

#include <algorithm>
#include <stdexcept>

namespace host {

const Channel& ChannelAt(const Record& record, const ChannelRef& ref) {
    if (ref.kind == ChannelKind::kAnalog) return record.analog.at(ref.index);
    if (ref.kind == ChannelKind::kDigital) return record.digital.at(ref.index);
    return record.logical.at(ref.index);
}

std::vector<ChannelRef> AllChannels(const Record& record) {
    std::vector<ChannelRef> all;
    for (size_t i = 0; i < record.analog.size(); ++i) all.push_back({ChannelKind::kAnalog, i});
    for (size_t i = 0; i < record.digital.size(); ++i) all.push_back({ChannelKind::kDigital, i});
    for (size_t i = 0; i < record.logical.size(); ++i) all.push_back({ChannelKind::kLogical, i});
    return all;
}

bool NamesChannel(const Channel& channel, std::string_view wanted) {
    const std::string_view name = channel.name;
    const bool wrapped = name.size() >= 2 && ((name.front() == '[' && name.back() == ']') ||
                                              (name.front() == '{' && name.back() == '}'));
    return wanted == name || (wrapped && wanted == name.substr(1, name.size() - 2)) || wanted == channel.key;
}

std::vector<ChannelRef> SelectChannels(const Record& record, const std::vector<std::string>& names) {
    const std::vector<ChannelRef> all = AllChannels(record);
    if (names.empty()) return all;
    std::vector<ChannelRef> chosen;
    for (const std::string& name : names) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const ChannelRef& ref) {
            return NamesChannel(ChannelAt(record, ref), name);
        });
        if (found == all.end()) throw std::runtime_error("no channel named \"" + name + "\"");
        chosen.push_back(*found);
    }
    return chosen;
}

}  // namespace host
