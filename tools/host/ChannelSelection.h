// Channels of a record picked by what a user types, and a record cut down to
// some channels and a stretch of time. cvdr's --channels and the Python
// module follow the same rules.
//
// A pattern names a channel when, ignoring ASCII case, it equals
//   - the channel's name ("Measurements . Current IL1", "[IL1]"),
//   - its name without the brackets or braces the decoder puts around names
//     made from keys ("IL1" for "[IL1]" or "{IL1}"),
//   - its key ("Measurements/Currents/IL1"), or
//   - the last component of its key ("IL1");
// a pattern holding '*' (any run of characters) or '?' (one character) is a
// glob matched against the same four texts ("IL*", "*Trip*").
#ifndef DR_MVQ4_HOST_CHANNEL_SELECTION_H
#define DR_MVQ4_HOST_CHANNEL_SELECTION_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/Record.h"
#include "host/TimeAxis.h"

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

// Whether `pattern` names the channel by the rules above.
bool NamesChannel(const Channel& channel, std::string_view pattern);

// The channels the patterns name: each pattern may hold several separated by
// commas; for each in turn every channel it names, in AllChannels order,
// leaving out those already chosen. Every channel when `patterns` is empty.
// Throws std::runtime_error for a pattern that names none:
// `no channel matches "X"; the channels are: A, B, ...`.
std::vector<ChannelRef> MatchChannels(const Record& record, const std::vector<std::string>& patterns);

// A copy of `record` holding only `channels` (each kind in the order given)
// and the samples of `window`: sample times, values, validity, ranges and
// transitions renumbered from the window's first sample, the state in force
// there starting at 0. The trigger sample becomes 0 when the window starts
// after it.
Record CutRecord(const Record& record, const std::vector<ChannelRef>& channels, const TimeWindow& window);

}  // namespace host

#endif
