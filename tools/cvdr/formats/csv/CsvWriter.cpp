#include "formats/csv/CsvWriter.h"

#include <vector>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "host/TransitionCursor.h"

namespace cvdr {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 16;

std::string ColumnName(const std::string& name, const std::string& unit) {
    std::string text = ValidUtf8(name);
    const std::string unitText = ValidUtf8(unit);
    if (!unitText.empty()) text += " [" + unitText + "]";
    return text;
}

std::string HeaderRow(const host::Record& record) {
    std::string row = "time [ms]";
    for (const host::AnalogChannel& channel : record.analog) {
        row += ',';
        AppendCsvField(row, ColumnName(channel.name, channel.unit));
    }
    for (const host::LogicalChannel& channel : record.logical) {
        row += ',';
        AppendCsvField(row, ColumnName(channel.name, ""));
    }
    for (const host::DigitalChannel& channel : record.digital) {
        row += ',';
        AppendCsvField(row, ColumnName(channel.name, ""));
    }
    return row + "\r\n";
}

// The state cursors of the logical and digital columns.
struct StateColumns {
    std::vector<host::TransitionCursor<LogicalTransition>> logical;
    std::vector<host::TransitionCursor<DigitalTransition>> digital;
};

StateColumns OpenColumns(const host::Record& record) {
    StateColumns columns;
    for (const host::LogicalChannel& channel : record.logical) columns.logical.emplace_back(channel);
    for (const host::DigitalChannel& channel : record.digital) columns.digital.emplace_back(channel);
    return columns;
}

void AppendRow(std::string& row, const host::Record& record, StateColumns& columns, uint32_t sample) {
    AppendNumber(row, record.sampleTimes[sample]);
    for (const host::AnalogChannel& analog : record.analog) {
        row += ',';
        if (analog.IsValid(sample)) AppendNumber(row, analog.values[sample]);
    }
    for (auto& logical : columns.logical) {
        row += ',';
        const LogicalTransition* state = logical.At(sample);
        if (host::IsLogicalValid(state)) AppendCsvField(row, ValidUtf8(state->text));
    }
    for (auto& digital : columns.digital) {
        const int level = host::DigitalLevel(digital.At(sample));
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

void WriteCsv(const host::Record& record, OutputFile& out) {
    std::string buffer = HeaderRow(record);
    StateColumns columns = OpenColumns(record);
    for (uint32_t sample = 0; sample < record.sampleCount; ++sample) {
        AppendRow(buffer, record, columns, sample);
        if (buffer.size() >= kFlushBytes) {
            out.Write(buffer);
            buffer.clear();
        }
    }
    out.Write(buffer);
}

}  // namespace cvdr
