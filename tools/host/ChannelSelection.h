// Channels of a record picked by what a user types: a channel's name, its
// name without the brackets or braces the decoder puts around names made
// from keys ("IL1" for "[IL1]" or "{IL1}"), or its key.
#ifndef DR_MVQ4_HOST_CHANNEL_SELECTION_H
#define DR_MVQ4_HOST_CHANNEL_SELECTION_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/Record.h"

namespace host {

enum class ChannelKind { kAnalog, kDigital, kLogical };

struct ChannelRef {
    ChannelKind kind;
    size_t index;  // among the record's channels of the kind
};

const Channel& ChannelAt(const Record& record, const ChannelRef& ref);

// Every channel: the analog, then the digital, then the logical ones, each
// in index order.
std::vector<ChannelRef> AllChannels(const Record& record);

bool NamesChannel(const Channel& channel, std::string_view wanted);

// For each of `names` in turn the first channel in AllChannels order that it
// names; every channel when `names` is empty. Throws std::runtime_error
// ("no channel named "X"") for a name that names none.
std::vector<ChannelRef> SelectChannels(const Record& record, const std::vector<std::string>& names);

}  // namespace host

#endif
