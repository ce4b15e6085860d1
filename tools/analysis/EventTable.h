// The record's events: every change of state of a digital or logical
// channel after the first sample, in time order.
#ifndef DR_MVQ4_ANALYSIS_EVENT_TABLE_H
#define DR_MVQ4_ANALYSIS_EVENT_TABLE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/ChannelSelection.h"
#include "host/Record.h"

namespace analysis {

struct Event {
    uint32_t sample = 0;
    double timeMs = 0.0;  // relative to the trigger
    host::ChannelRef channel{host::ChannelKind::kDigital, 0};
    std::string state;  // "high", "low", "invalid", or a logical channel's text
};

// Transitions that leave the state as it was are no events; a channel with
// fewer samples than the record turns invalid at the sample after its last.
// Events at one sample keep the channels' order (digital, then logical).
std::vector<Event> EventTable(const host::Record& record);

}  // namespace analysis

#endif
