#include "commands/InfoCommand.h"

#include <string>

#include "ExitStatus.h"
#include "formats/NumberText.h"
#include "formats/TextTable.h"

namespace cvdr {
namespace {

// A table cell; "-" stands for an empty text so that columns stay readable.
std::string Cell(const char* text) {
    const std::string cell = Text(text);
    return cell.empty() ? "-" : cell;
}

std::string TimeZoneText(DisturbanceDataReader& reader) {
    int offset = 0;
    int dstOffset = 0;
    const bool valid = reader.GetTimeZone(&offset, &dstOffset);
    return std::string(valid ? "valid" : "not valid") + ", offset " + std::to_string(offset) +
           " s, daylight saving " + std::to_string(dstOffset) + " s";
}

void WriteSummary(DisturbanceDataReader& reader, std::ostream& out) {
    FileMetadataReader& metadata = *reader.GetFileMetadata();
    TextTable summary({"file:", Text(metadata.GetFileName())});
    summary.AddRow({"description:", Text(metadata.GetDescription())});
    summary.AddRow({"trigger time:", Text(metadata.GetTriggerTimeText())});
    summary.AddRow({"sample interval:", NumberText(reader.GetSampleInterval())});
    summary.AddRow({"sample count:", std::to_string(reader.GetSampleCount())});
    summary.AddRow({"trigger sample:", std::to_string(reader.GetTriggerSample())});
    summary.AddRow({"time zone:", TimeZoneText(reader)});
    summary.AddRow({"language:", Text(reader.GetLanguage())});
    summary.Print(out);
}

size_t InvalidRangeCount(RangeMarker& marker) {
    size_t count = 0;
    for (RangeIterator it = marker.GetRangesBegin(), end = marker.GetRangesEnd(); it != end; ++it) {
        if (!it->valid) ++count;
    }
    return count;
}

TextTable::Row ChannelRow(const char* kind, int index, GenericChannelReader& channel, const std::string& unit,
                          size_t count) {
    ChannelMetadataReader& metadata = *channel.GetMetadata();
    return {kind,
            std::to_string(index),
            Cell(metadata.GetName()),
            unit,
            std::to_string(channel.GetId()),
            Cell(channel.GetKey()),
            ColorText(metadata.GetColor()),
            std::to_string(count)};
}

void AddAnalogRows(TextTable& table, DisturbanceDataReader& reader) {
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i) {
        AnalogChannelReader& channel = *reader.GetAnalogChannel(i);
        const size_t invalidRanges = InvalidRangeCount(*channel.GetRangeMarker());
        table.AddRow(ChannelRow("analog", i, channel, Cell(channel.GetUnit()), invalidRanges));
    }
}

template <typename Channel>
void AddTransitionalRow(TextTable& table, const char* kind, int index, Channel& channel) {
    const int transitions = channel.GetTransitionCount();
    table.AddRow(
        ChannelRow(kind, index, channel, "-", transitions < 0 ? 0 : static_cast<size_t>(transitions)));
}

}  // namespace

void WriteInfo(DisturbanceDataReader& reader, std::ostream& out) {
    WriteSummary(reader, out);
    out << '\n';
    TextTable channels({"kind", "index", "name", "unit", "id", "key", "colour", "count"});
    AddAnalogRows(channels, reader);
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i) {
        AddTransitionalRow(channels, "digital", i, *reader.GetDigitalChannel(i));
    }
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i) {
        AddTransitionalRow(channels, "logical", i, *reader.GetLogicalChannel(i));
    }
    channels.Print(out);
}

}  // namespace cvdr
