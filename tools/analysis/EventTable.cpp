#include "analysis/EventTable.h"

#include <algorithm>

#include "host/TransitionCursor.h"

namespace analysis {
namespace {

constexpr const char* kInvalid = "invalid";

std::string StateText(const DigitalTransition& transition) {
    const int level = host::DigitalLevel(&transition);
    return level == 1 ? "high" : level == 0 ? "low" : kInvalid;
}

std::string StateText(const LogicalTransition& transition) {
    return host::IsLogicalValid(&transition) ? transition.text : kInvalid;
}

template <typename Transition>
void AddEvents(const host::Record& record, host::ChannelKind kind,
               const std::vector<host::TransitionalChannel<Transition>>& channels,
               std::vector<Event>& events) {
    for (size_t index = 0; index < channels.size(); ++index) {
        const host::TransitionalChannel<Transition>& channel = channels[index];
        const uint32_t end = std::min<uint32_t>(channel.sampleCount, record.sampleCount);
        std::string state = kInvalid;  // before the first transition
        const auto add = [&](uint32_t sample, std::string next) {
            if (next == state) return;
            state = std::move(next);
            if (sample > 0) events.push_back({sample, record.sampleTimes[sample], {kind, index}, state});
        };
        for (const Transition& transition : channel.transitions) {
            if (transition.firstSample >= end) continue;
            add(transition.firstSample, StateText(transition));
        }
        if (end > 0 && end < record.sampleCount) add(end, kInvalid);
    }
}

}  // namespace

std::vector<Event> EventTable(const host::Record& record) {
    std::vector<Event> events;
    if (record.sampleTimes.size() < record.sampleCount) return events;
    AddEvents(record, host::ChannelKind::kDigital, record.digital, events);
    AddEvents(record, host::ChannelKind::kLogical, record.logical, events);
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.sample < b.sample; });
    return events;
}

}  // namespace analysis
