#include "formats/csv/CsvWriter.h"

#include <vector>

#include "ChannelSamples.h"
#include "ExitStatus.h"
#include "formats/NumberText.h"
#include "formats/Utf8Text.h"

namespace cvdr {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 16;

std::string ColumnName(const char* name, const char* unit) {
    std::string text = ValidUtf8(Text(name));
    const std::string unitText = ValidUtf8(Text(unit));
    if (!unitText.empty()) text += " [" + unitText + "]";
    return text;
}

std::string HeaderRow(DisturbanceDataReader& reader) {
    std::string row = "time [ms]";
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i) {
        AnalogChannelReader& channel = *reader.GetAnalogChannel(i);
        row += ',';
        AppendCsvField(row, ColumnName(channel.GetMetadata()->GetName(), channel.GetUnit()));
    }
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i) {
        row += ',';
        AppendCsvField(row, ColumnName(reader.GetLogicalChannel(i)->GetMetadata()->GetName(), ""));
    }
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i) {
        row += ',';
        AppendCsvField(row, ColumnName(reader.GetDigitalChannel(i)->GetMetadata()->GetName(), ""));
    }
    return row + "\r\n";
}

// The channels' cursors, in column order.
struct Columns {
    std::vector<AnalogSamples> analog;
    std::vector<TransitionCursor<LogicalTransition>> logical;
    std::vector<TransitionCursor<DigitalTransition>> digital;
};

Columns OpenColumns(DisturbanceDataReader& reader) {
    Columns columns;
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i)
        columns.analog.emplace_back(*reader.GetAnalogChannel(i));
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i)
        columns.logical.emplace_back(*reader.GetLogicalChannel(i));
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i)
        columns.digital.emplace_back(*reader.GetDigitalChannel(i));
    return columns;
}

void AppendRow(std::string& row, DisturbanceDataReader& reader, Columns& columns, uint32_t sample) {
    AppendNumber(row, reader.GetSampleTime(sample));
    for (const AnalogSamples& analog : columns.analog) {
        row += ',';
        if (analog.IsValid(sample)) AppendNumber(row, analog.Value(sample));
    }
    for (auto& logical : columns.logical) {
        row += ',';
        const LogicalTransition* state = logical.At(sample);
        if (IsLogicalValid(state)) AppendCsvField(row, ValidUtf8(state->text));
    }
    for (auto& digital : columns.digital) {
        const int level = DigitalLevel(digital.At(sample));
        row += level < 0 ? "," : level == 1 ? ",1" : ",0";
    }
    row += "\r\n";
}

}  // namespace

void AppendCsvField(std::string& row, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        row += text;
        return;
    }
    row += '"';
    for (char c : text) {
        if (c == '"') row += '"';
        row += c;
    }
    row += '"';
}

void WriteCsv(DisturbanceDataReader& reader, OutputFile& out) {
    std::string buffer = HeaderRow(reader);
    Columns columns = OpenColumns(reader);
    for (uint32_t sample = 0, count = reader.GetSampleCount(); sample < count; ++sample) {
        AppendRow(buffer, reader, columns, sample);
        if (buffer.size() >= kFlushBytes) {
            out.Write(buffer);
            buffer.clear();
        }
    }
    out.Write(buffer);
}

}  // namespace cvdr
