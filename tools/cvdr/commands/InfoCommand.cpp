#include "commands/InfoCommand.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

#include "commands/LoadDiagnosis.h"
#include "formats/NumberText.h"
#include "formats/TextTable.h"
#include "formats/Utf8Text.h"

namespace cvdr {
namespace {

// A table cell; "-" stands for an empty text so that columns stay readable.
std::string Cell(const std::string& text) { return text.empty() ? "-" : text; }

std::string TimeZoneText(const host::TimeZone& zone) {
    return std::string(zone.valid ? "valid" : "not valid") + ", offset " + std::to_string(zone.offset) +
           " s, daylight saving " + std::to_string(zone.dstOffset) + " s";
}

// The language slot of the reader always reports ENG; the language the
// names came from is what the load picked for the host's language.
void WriteSummary(const host::Record& record, const std::string& namesLanguage, std::ostream& out) {
    TextTable summary({"file:", record.fileName});
    summary.AddRow({"description:", record.description});
    summary.AddRow({"trigger time:", record.triggerTimeText});
    summary.AddRow({"sample interval:", NumberText(record.sampleInterval) + " ms"});
    summary.AddRow({"sample count:", std::to_string(record.sampleCount)});
    summary.AddRow({"trigger sample:", std::to_string(record.triggerSample)});
    summary.AddRow({"time zone:", TimeZoneText(record.timeZone)});
    summary.AddRow({"language slot:", record.language + " (what the reader reports, always)"});
    summary.AddRow({"names in:", namesLanguage});
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

TextTable ChannelTable(const host::Record& record) {
    TextTable channels({"kind", "index", "name", "unit", "id", "key", "colour", "count"});
    for (size_t i = 0; i < record.analog.size(); ++i) {
        const host::AnalogChannel& channel = record.analog[i];
        channels.AddRow(ChannelRow("analog", i, channel, Cell(channel.unit), InvalidRangeCount(channel)));
    }
    AddTransitionalRows(channels, "digital", record.digital);
    AddTransitionalRows(channels, "logical", record.logical);
    return channels;
}

void WriteJson(const host::Record& record, const std::string& namesLanguage, std::ostream& out) {
    nlohmann::ordered_json json = {
        {"file", ValidUtf8(record.fileName)},
        {"description", ValidUtf8(record.description)},
        {"triggerTime", ValidUtf8(record.triggerTimeText)},
        {"sampleIntervalMs", record.sampleInterval},
        {"sampleCount", record.sampleCount},
        {"triggerSample", record.triggerSample},
        {"timeZone", {{"valid", record.timeZone.valid}, {"offset", record.timeZone.offset},
                      {"dstOffset", record.timeZone.dstOffset}}},
        {"languageSlot", ValidUtf8(record.language)},
        {"namesLanguage", namesLanguage},
        {"channels", nlohmann::ordered_json::array()}};
    const TextTable table = ChannelTable(record);
    const std::vector<TextTable::Row>& rows = table.Rows();
    const TextTable::Row header = rows.front();
    for (size_t r = 1; r < rows.size(); ++r) {
        nlohmann::ordered_json channel;
        for (size_t c = 0; c < header.size(); ++c) {
            const std::string& cell = rows[r][c];
            const bool number = header[c] == "index" || header[c] == "id" || header[c] == "count";
            channel[header[c]] = number ? nlohmann::ordered_json(std::stoll(cell)) : nlohmann::ordered_json(ValidUtf8(cell));
        }
        json["channels"].push_back(channel);
    }
    out << json.dump(2) << '\n';
}

}  // namespace

int RunInfo(const RecordRequest& request, InfoForm form) {
    return RunOnRecord(request, {false}, [&](const host::Record& record, std::ostream& out) {
        if (form == InfoForm::kChannels) return ChannelTable(record).Print(out);
        const std::string& source = request.source.file;
        const std::string names = NamesLanguage(source, record.description, request.source.language, request.source.options);
        if (form == InfoForm::kJson) return WriteJson(record, names, out);
        WriteSummary(record, names, out);
        out << '\n';
        ChannelTable(record).Print(out);
    });
}

}  // namespace cvdr
