#include "formats/csv/CsvWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "formats/BlockPipeline.h"
#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "host/TransitionCursor.h"

namespace cvdr {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 16;
constexpr uint32_t kBlockSamples = 512;  // rows whose analog cells are made at a time: their texts stay in cache

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

// The logical and digital columns, whose states last many samples: the
// cells of a row from the logical columns on are made again only where a
// state may change.
class StateCells {
public:
    explicit StateCells(const host::Record& record) {
        for (const host::LogicalChannel& channel : record.logical) m_logical.emplace_back(channel);
        for (const host::DigitalChannel& channel : record.digital) m_digital.emplace_back(channel);
    }

    // The cells at `sample`, line end included. Ask in rising order.
    const std::string& At(uint32_t sample) {
        if (sample < m_end) return m_text;
        m_text.clear();
        m_end = host::kNoSample;
        for (auto& logical : m_logical) {
            m_text += ',';
            const LogicalTransition* state = logical.At(sample);
            if (host::IsLogicalValid(state)) AppendCsvField(m_text, ValidUtf8(state->text));
            m_end = std::min(m_end, logical.RunEnd(sample));
        }
        for (auto& digital : m_digital) {
            const int level = host::DigitalLevel(digital.At(sample));
            m_text += level < 0 ? "," : level == 1 ? ",1" : ",0";
            m_end = std::min(m_end, digital.RunEnd(sample));
        }
        m_text += "\r\n";
        return m_text;
    }

private:
    std::vector<host::TransitionCursor<LogicalTransition>> m_logical;
    std::vector<host::TransitionCursor<DigitalTransition>> m_digital;
    std::string m_text;
    uint32_t m_end = 0;  // m_text holds for the samples before this one
};

// The cells of one analog column for a block of rows, each with the comma
// before it; an invalid sample's cell is empty. A cell is at most 25 bytes.
class AnalogCells {
public:
    static constexpr size_t kCellBytes = 25;
    static constexpr uint32_t kAhead = 8;  // values whose number texts are fetched ahead

    void Make(const double* values, const uint8_t* valid, uint32_t count, NumberTextCache& numbers) {
        m_text.resize(count * kCellBytes + NumberTextCache::kPutBytes);
        m_starts.resize(count + 1);
        char* const text = &m_text[0];
        char* end = text;
        for (uint32_t i = 0; i < count; ++i) {
            if (i + kAhead < count) numbers.Prefetch(values[i + kAhead]);
            m_starts[i] = static_cast<uint32_t>(end - text);
            *end++ = ',';
            if (valid[i] != 0) end = numbers.Put(end, values[i]);
        }
        m_starts[count] = static_cast<uint32_t>(end - text);
    }
    // Writes cell i at `out`, which has room for NumberTextCache::kPutBytes,
    // and returns its end.
    char* PutCell(char* out, uint32_t i) const {
        std::memcpy(out, m_text.data() + m_starts[i], NumberTextCache::kPutBytes);
        return out + (m_starts[i + 1] - m_starts[i]);
    }

private:
    std::string m_text;
    std::vector<uint32_t> m_starts;
};

// Rows gathered in memory and written 64 KiB at a time.
class RowBuffer {
public:
    explicit RowBuffer(OutputFile& out) : m_out(out), m_bytes(kFlushBytes, '\0') {}
    // Room for `bytes` more at the returned position; End(position) then
    // marks what was written.
    char* Reserve(size_t bytes) {
        if (m_bytes.size() < m_used + bytes) m_bytes.resize(m_used + bytes);
        return &m_bytes[m_used];
    }
    void End(const char* position) {
        m_used = static_cast<size_t>(position - m_bytes.data());
        if (m_used >= kFlushBytes) Flush();
    }
    void Flush() {
        m_out.Write(std::string_view(m_bytes.data(), m_used));
        m_used = 0;
    }

private:
    OutputFile& m_out;
    std::string m_bytes;
    size_t m_used = 0;
};

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

void WriteCsv(const host::Record& record, const host::AnalogSampleReader& samples, OutputFile& out) {
    // The analog cells are made column by column for a block of rows, so
    // that each column's number texts stay at hand, then joined into rows,
    // on a second thread while the next block's cells are made.
    struct CellBlock {
        uint32_t first = 0;
        uint32_t count = 0;
        std::vector<AnalogCells> columns;
    };
    out.Write(HeaderRow(record));
    RowBuffer rows(out);
    StateCells states(record);
    CellBlock blocks[2];
    for (CellBlock& block : blocks) block.columns.resize(record.analog.size());
    NumberTextCache numbers;  // channels of one scale share their values
    std::vector<double> values(kBlockSamples);
    std::vector<uint8_t> valid(kBlockSamples);
    const size_t analogBytes = 24 + record.analog.size() * AnalogCells::kCellBytes + NumberTextCache::kPutBytes;
    const auto makeCells = [&](size_t slot, size_t index) {
        CellBlock& block = blocks[slot];
        block.first = static_cast<uint32_t>(index * kBlockSamples);
        block.count = std::min(kBlockSamples, record.sampleCount - block.first);
        for (size_t c = 0; c < block.columns.size(); ++c) {
            samples.Read(c, block.first, block.count, values.data(), valid.data());
            block.columns[c].Make(values.data(), valid.data(), block.count, numbers);
        }
    };
    const auto writeRows = [&](size_t slot, size_t) {
        const CellBlock& block = blocks[slot];
        for (uint32_t i = 0; i < block.count; ++i) {
            const std::string& stateText = states.At(block.first + i);
            char* row = rows.Reserve(analogBytes + stateText.size());
            row = PutNumber(row, record.sampleTimes[block.first + i]);
            for (const AnalogCells& column : block.columns) row = column.PutCell(row, i);
            std::memcpy(row, stateText.data(), stateText.size());
            rows.End(row + stateText.size());
        }
    };
    RunBlockPipeline(BlockCount(record.sampleCount, kBlockSamples), makeCells, writeRows);
    rows.Flush();
}

}  // namespace cvdr
