#include "plot/PlotContent.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ExitStatus.h"
#include "formats/NumberText.h"
#include "formats/Utf8Text.h"

namespace cvdr::plot {
namespace {

enum class Kind { kAnalog, kDigital, kLogical };

struct ChannelRef {
    Kind kind;
    int index;
};

GenericChannelReader& Channel(DisturbanceDataReader& reader, const ChannelRef& ref) {
    if (ref.kind == Kind::kAnalog) return *reader.GetAnalogChannel(ref.index);
    if (ref.kind == Kind::kDigital) return *reader.GetDigitalChannel(ref.index);
    return *reader.GetLogicalChannel(ref.index);
}

std::vector<ChannelRef> AllChannels(DisturbanceDataReader& reader) {
    std::vector<ChannelRef> all;
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i) all.push_back({Kind::kAnalog, i});
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i) all.push_back({Kind::kDigital, i});
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i) all.push_back({Kind::kLogical, i});
    return all;
}

// "[IL1]" (no device model) and "{IL1}" (a key the model lacks) also match "IL1".
bool Matches(GenericChannelReader& channel, const std::string& wanted) {
    const std::string name = Text(channel.GetMetadata()->GetName());
    const bool wrapped = name.size() >= 2 && ((name.front() == '[' && name.back() == ']') ||
                                              (name.front() == '{' && name.back() == '}'));
    return wanted == name || (wrapped && wanted == name.substr(1, name.size() - 2)) ||
           wanted == Text(channel.GetKey());
}

std::vector<ChannelRef> Chosen(DisturbanceDataReader& reader, const std::vector<std::string>& names) {
    const std::vector<ChannelRef> all = AllChannels(reader);
    if (names.empty()) return all;
    std::vector<ChannelRef> chosen;
    for (const std::string& name : names) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const ChannelRef& ref) {
            return Matches(Channel(reader, ref), name);
        });
        if (found == all.end()) throw std::runtime_error("no channel named \"" + name + "\"");
        chosen.push_back(*found);
    }
    return chosen;
}

void AddAnalog(std::vector<AnalogLane>& lanes, AnalogChannelReader& channel, int index, bool groupByUnit) {
    const std::string unit = ValidUtf8(Text(channel.GetUnit()));
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
    const std::string name = ValidUtf8(Text(channel.GetMetadata()->GetName()));
    lanes.push_back({groupByUnit ? (unit.empty() ? "no unit" : unit) : name, unit, {index}});
}

// The samples in [from, to], and the window narrowed to the record.
void SetWindow(DisturbanceDataReader& reader, const ContentRequest& request, PlotContent& content) {
    const uint32_t count = reader.GetSampleCount();
    const double interval = reader.GetSampleInterval();
    if (count == 0 || !(interval > 0.0) || !std::isfinite(interval))
        throw std::runtime_error("the record has no samples to plot");
    const double start = reader.GetSampleTime(0);
    const double end = reader.GetSampleTime(count - 1);
    content.from = std::max(request.from.value_or(start), start);
    content.to = std::min(request.to.value_or(end), end);
    const double first = std::ceil((content.from - start) / interval - 1e-9);
    const double last = std::floor((content.to - start) / interval + 1e-9);
    if (!(first <= last)) {
        throw std::runtime_error("no samples between " + NumberText(request.from.value_or(start)) +
                                 " ms and " + NumberText(request.to.value_or(end)) + " ms");
    }
    content.firstSample = static_cast<uint32_t>(first);
    content.lastSample = static_cast<uint32_t>(last);
    if (content.to <= content.from) content.to = content.from + interval;  // a single sample
}

}  // namespace

PlotContent SelectContent(DisturbanceDataReader& reader, const ContentRequest& request) {
    PlotContent content;
    for (const ChannelRef& ref : Chosen(reader, request.channels)) {
        if (ref.kind == Kind::kAnalog) {
            AddAnalog(content.analog, *reader.GetAnalogChannel(ref.index), ref.index, request.groupByUnit);
            continue;
        }
        const std::string name = ValidUtf8(Text(Channel(reader, ref).GetMetadata()->GetName()));
        content.steps.push_back({ref.kind == Kind::kLogical, ref.index, name});
    }
    SetWindow(reader, request, content);
    return content;
}

}  // namespace cvdr::plot
