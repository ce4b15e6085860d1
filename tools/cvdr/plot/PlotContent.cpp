#include "plot/PlotContent.h"

#include <algorithm>
#include <stdexcept>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "host/ChannelSelection.h"
#include "host/TimeAxis.h"

namespace cvdr::plot {
namespace {

void AddAnalog(std::vector<AnalogLane>& lanes, const host::AnalogChannel& channel, size_t index,
               bool groupByUnit) {
    const std::string unit = ValidUtf8(channel.unit);
    if (groupByUnit) {
        const auto group = std::find_if(lanes.begin(), lanes.end(),
                                        [&](const AnalogLane& lane) { return lane.unit == unit; });
        if (group != lanes.end()) {
            if (std::find(group->channels.begin(), group->channels.end(), index) == group->channels.end()) {
                group->channels.push_back(index);
            }
            return;
        }
    }
    const std::string name = ValidUtf8(channel.name);
    lanes.push_back({groupByUnit ? (unit.empty() ? "no unit" : unit) : name, unit, {index}});
}

// The samples in [from, to], and the window narrowed to the record.
void SetWindow(const host::Record& record, const ContentRequest& request, PlotContent& content) {
    if (!host::HasTimeAxis(record)) throw std::runtime_error("the record has no samples to plot");
    const std::optional<host::TimeWindow> window = host::SelectWindow(record, request.from, request.to);
    if (!window) {
        throw std::runtime_error("no samples between " +
                                 NumberText(request.from.value_or(record.sampleTimes.front())) + " ms and " +
                                 NumberText(request.to.value_or(record.sampleTimes.back())) + " ms");
    }
    content.firstSample = window->firstSample;
    content.lastSample = window->lastSample;
    content.from = window->from;
    content.to = window->to;
}

}  // namespace

PlotContent SelectContent(const host::Record& record, const ContentRequest& request) {
    PlotContent content;
    for (const host::ChannelRef& ref : host::MatchChannels(record, request.channels)) {
        if (ref.kind == host::ChannelKind::kAnalog) {
            AddAnalog(content.analog, record.analog[ref.index], ref.index, request.groupByUnit);
            continue;
        }
        const std::string name = ValidUtf8(host::ChannelAt(record, ref).name);
        content.steps.push_back({ref.kind == host::ChannelKind::kLogical, ref.index, name});
    }
    SetWindow(record, request, content);
    return content;
}

}  // namespace cvdr::plot
