#include "formats/comtrade/DataFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "formats/BlockPipeline.h"
#include "host/TransitionCursor.h"

namespace cvdr::comtrade {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 16;
constexpr uint32_t kBlockSamples = 1024;

// A logical channel's column: its state as a number, worked out once per
// transition, over the samples of each block in turn.
class LogicalColumnReader {
public:
    LogicalColumnReader(const host::Record& record, const AnalogColumn& column)
        : m_column(&column), m_cursor(record.logical[column.channel]) {}

    void Read(uint32_t first, uint32_t count, double* values, uint8_t* present) {
        const uint32_t end = first + count;
        for (uint32_t sample = first; sample < end;) {
            const LogicalTransition* state = m_cursor.At(sample);
            if (state != m_lastState) {
                m_lastState = state;
                m_lastValue = LogicalStateValue(*m_column, state);
            }
            const uint32_t runEnd = std::min(m_cursor.RunEnd(sample), end);
            std::fill(values + (sample - first), values + (runEnd - first), m_lastValue.value_or(0.0));
            std::fill(present + (sample - first), present + (runEnd - first), m_lastValue ? 1 : 0);
            sample = runEnd;
        }
    }

private:
    const AnalogColumn* m_column;
    host::TransitionCursor<LogicalTransition> m_cursor;
    const LogicalTransition* m_lastState = nullptr;
    std::optional<double> m_lastValue;
};

// The high stretches of a status column within samples first to end - 1.
void MarkHigh(host::TransitionCursor<DigitalTransition>& cursor, size_t column, SampleBlock& block) {
    const uint32_t first = block.First(), end = first + block.Count();
    for (uint32_t sample = first; sample < end;) {
        const bool high = host::DigitalLevel(cursor.At(sample)) == 1;
        const uint32_t runEnd = std::min(cursor.RunEnd(sample), end);
        if (high) block.SetHigh(column, sample - first, runEnd - first);
        sample = runEnd;
    }
}

}  // namespace

void WriteDataRecords(const host::Record& record, const host::AnalogSampleReader& samples,
                      const ChannelPlan& plan, const DataRecordEncoder& encoder, OutputFile& out) {
    std::vector<std::optional<LogicalColumnReader>> logical(plan.analog.size());
    for (size_t c = 0; c < plan.analog.size(); ++c) {
        if (plan.analog[c].logical) logical[c].emplace(record, plan.analog[c]);
    }
    std::vector<host::TransitionCursor<DigitalTransition>> status;
    for (const StatusColumn& column : plan.status) status.emplace_back(record.digital[column.channel]);
    // The samples of one block are read while the block before is encoded
    // and written on a second thread.
    SampleBlock blocks[2] = {SampleBlock(plan.analog.size(), plan.status.size(), kBlockSamples),
                             SampleBlock(plan.analog.size(), plan.status.size(), kBlockSamples)};
    std::string buffer;
    const auto read = [&](size_t slot, size_t index) {
        SampleBlock& block = blocks[slot];
        const uint32_t first = static_cast<uint32_t>(index * kBlockSamples);
        block.Start(first, std::min(kBlockSamples, plan.sampleCount - first));
        for (size_t c = 0; c < plan.analog.size(); ++c) {
            if (logical[c]) {
                logical[c]->Read(first, block.Count(), block.Values(c), block.Present(c));
            } else {
                samples.Read(plan.analog[c].channel, first, block.Count(), block.Values(c), block.Present(c));
            }
        }
        for (size_t s = 0; s < status.size(); ++s) MarkHigh(status[s], s, block);
    };
    const auto write = [&](size_t slot, size_t) {
        encoder.Append(buffer, blocks[slot], record.sampleInterval);
        if (buffer.size() >= kFlushBytes) {
            out.Write(buffer);
            buffer.clear();
        }
    };
    RunBlockPipeline((size_t{plan.sampleCount} + kBlockSamples - 1) / kBlockSamples, read, write);
    out.Write(buffer);
}

}  // namespace cvdr::comtrade
