#include "formats/AnalysisReport.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "formats/NumberText.h"
#include "formats/TextTable.h"
#include "formats/Utf8Text.h"
#include "host/ChannelSelection.h"

namespace cvdr {
namespace {

std::string Cell(const std::string& text) { return text.empty() ? "-" : ValidUtf8(text); }

// Tenths of a degree; "0.0", not "-0.0", for a tiny negative angle.
std::string AngleText(double degrees) {
    return fmt::format("{:.1f}", std::round(degrees * 10.0) / 10.0 + 0.0);
}

std::string TimeText(double ms) { return NumberText(ms) + " ms"; }

void WriteHeader(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out) {
    TextTable header({"file:", Cell(record.fileName)});
    header.AddRow({"description:", Cell(record.description)});
    header.AddRow({"trigger time:", Cell(record.triggerTimeText)});
    header.AddRow({"samples:", fmt::format("{} at {} ms, trigger at sample {}", record.sampleCount,
                                           NumberText(record.sampleInterval), record.triggerSample)});
    header.AddRow({"line frequency:",
                   NumberText(result.frequency) + " Hz, " +
                       (result.cycleSamples > 0 ? fmt::format("{} samples per cycle", result.cycleSamples)
                                                : std::string("no whole cycle: no phasors"))});
    header.Print(out);
}

void WriteChannels(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out) {
    TextTable table({"channel", "unit", "min", "max", "peak", "peak at [ms]", "rms"});
    for (const analysis::ChannelAnalysis& channel : result.channels) {
        const host::AnalogChannel& analog = record.analog[channel.channel];
        const analysis::ChannelStatistics& statistics = channel.statistics;
        const std::optional<analysis::Peak>& peak = statistics.peak;
        table.AddRow({Cell(analog.name), Cell(analog.unit), ReadableNumber(statistics.minimum),
                      ReadableNumber(statistics.maximum),
                      ReadableNumber(peak ? std::optional(peak->value) : std::nullopt),
                      peak ? NumberText(peak->timeMs) : "-", ReadableNumber(statistics.rms)});
    }
    table.Print(out);
}

// Two cells of a phasor: its magnitude and its angle.
void AddPhasor(TextTable::Row& row, const std::optional<analysis::Phasor>& phasor) {
    row.push_back(phasor ? ReadableNumber(phasor->magnitude) : "-");
    row.push_back(phasor ? AngleText(phasor->angleDeg) : "-");
}

void WritePhasors(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out) {
    out << "fundamental of the cycle ending at each time (RMS magnitude, angle in degrees):\n";
    TextTable::Row header{"channel", "unit"};
    for (double time : result.times) {
        header.push_back(TimeText(time));
        header.push_back("angle");
    }
    TextTable table(header);
    for (const analysis::ChannelAnalysis& channel : result.channels) {
        const host::AnalogChannel& analog = record.analog[channel.channel];
        TextTable::Row row{Cell(analog.name), Cell(analog.unit)};
        for (const std::optional<analysis::Phasor>& phasor : channel.phasors) AddPhasor(row, phasor);
        table.AddRow(row);
    }
    table.Print(out);
}

void WriteGroups(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out) {
    out << "symmetrical components of the three-phase groups:\n";
    if (result.groups.empty()) {
        out << "no three-phase groups\n";
        return;
    }
    TextTable table({"group", "at", "zero", "angle", "positive", "angle", "negative", "angle"});
    for (const analysis::GroupAnalysis& group : result.groups) {
        std::string names;
        for (size_t channel : group.group.channels)
            names += (names.empty() ? "" : " ") + Cell(record.analog[channel].name);
        for (size_t i = 0; i < result.times.size(); ++i) {
            TextTable::Row row{i == 0 ? names : "", TimeText(result.times[i])};
            const std::optional<analysis::SequencePhasors>& components = group.components[i];
            AddPhasor(row, components ? std::optional(components->zero) : std::nullopt);
            AddPhasor(row, components ? std::optional(components->positive) : std::nullopt);
            AddPhasor(row, components ? std::optional(components->negative) : std::nullopt);
            table.AddRow(row);
        }
    }
    table.Print(out);
}

void WriteEvents(const host::Record& record, const analysis::RecordAnalysis& result, std::ostream& out) {
    out << "events:\n";
    if (result.events.empty()) {
        out << "no events\n";
        return;
    }
    TextTable table({"time [ms]", "channel", "state"});
    for (const analysis::Event& event : result.events)
        table.AddRow(
            {NumberText(event.timeMs), Cell(host::ChannelAt(record, event.channel).name), Cell(event.state)});
    table.Print(out);
}

}  // namespace

std::string ReadableNumber(std::optional<double> value) {
    if (!value) return "-";
    const double magnitude = std::fabs(*value);
    if (!std::isfinite(*value) || magnitude == 0.0) return NumberText(*value);
    if (magnitude < 1e-4 || magnitude >= 1e9) return fmt::format("{:.5g}", *value);
    const int digits = std::max(0, 4 - static_cast<int>(std::floor(std::log10(magnitude))));
    std::string text = fmt::format("{:.{}f}", *value, digits);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

void WriteAnalysisReport(const host::Record& record, const analysis::RecordAnalysis& result,
                         std::ostream& out) {
    WriteHeader(record, result, out);
    out << '\n';
    WriteChannels(record, result, out);
    out << '\n';
    WritePhasors(record, result, out);
    out << '\n';
    WriteGroups(record, result, out);
    out << '\n';
    WriteEvents(record, result, out);
}

}  // namespace cvdr
