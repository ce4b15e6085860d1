#include "commands/InfoCommand.h"

#include <algorithm>
#include <string>

#include "formats/NumberText.h"
#include "formats/TextTable.h"

namespace cvdr {
namespace {

// A table cell; "-" stands for an empty text so that columns stay readable.
std::string Cell(const std::string& text) { return text.empty() ? "-" : text; }

std::string TimeZoneText(const host::TimeZone& zone) {
    return std::string(zone.valid ? "valid" : "not valid") + ", offset " + std::to_string(zone.offset) +
           " s, daylight saving " + std::to_string(zone.dstOffset) + " s";
}

void WriteSummary(const host::Record& record, std::ostream& out) {
    TextTable summary({"file:", record.fileName});
    summary.AddRow({"description:", record.description});
    summary.AddRow({"trigger time:", record.triggerTimeText});
    summary.AddRow({"sample interval:", NumberText(record.sampleInterval)});
    summary.AddRow({"sample count:", std::to_string(record.sampleCount)});
    summary.AddRow({"trigger sample:", std::to_string(record.triggerSample)});
    summary.AddRow({"time zone:", TimeZoneText(record.timeZone)});
    summary.AddRow({"language:", record.language});
    summary.Print(out);
}

TextTable::Row ChannelRow(const char* kind, size_t index, const host::Channel& channel,
                          const std::string& unit, size_t count) {
    return {kind,
            std::to_string(index),
            Cell(channel.name),
            unit,
            std::to_string(channel.id),
            Cell(channel.key),
            ColorText(channel.color),
            std::to_string(count)};
}

size_t InvalidRangeCount(const host::Channel& channel) {
    return static_cast<size_t>(std::count_if(channel.ranges.begin(), channel.ranges.end(),
                                             [](const RangeRecord& range) { return !range.valid; }));
}

template <typename Channel>
void AddTransitionalRows(TextTable& table, const char* kind, const std::vector<Channel>& channels) {
    for (size_t i = 0; i < channels.size(); ++i)
        table.AddRow(ChannelRow(kind, i, channels[i], "-", channels[i].transitions.size()));
}

}  // namespace

void WriteInfo(const host::Record& record, std::ostream& out) {
    WriteSummary(record, out);
    out << '\n';
    TextTable channels({"kind", "index", "name", "unit", "id", "key", "colour", "count"});
    for (size_t i = 0; i < record.analog.size(); ++i) {
        const host::AnalogChannel& channel = record.analog[i];
        channels.AddRow(ChannelRow("analog", i, channel, Cell(channel.unit), InvalidRangeCount(channel)));
    }
    AddTransitionalRows(channels, "digital", record.digital);
    AddTransitionalRows(channels, "logical", record.logical);
    channels.Print(out);
}

int RunInfo(const RecordRequest& request) { return RunOnRecord(request, {false}, WriteInfo); }

}  // namespace cvdr
