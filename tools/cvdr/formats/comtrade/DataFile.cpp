#include "formats/comtrade/DataFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "formats/BlockPipeline.h"
#include "host/TransitionCursor.h"

namespace cvdr::comtrade {
namespace {

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

// Samples a block holds: long blocks are handed between the threads less
// often; a block stays within a few MiB however many channels there are.
uint32_t BlockSamples(size_t analogColumns) {
    constexpr size_t kBlockBytes = size_t{2} << 20;
    const size_t sampleBytes = analogColumns * (sizeof(double) + 1) + 1;
    return static_cast<uint32_t>(std::clamp<size_t>(kBlockBytes / sampleBytes, 256, 4096));
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
    // A block's samples are read on this thread while the block before is
    // encoded on a second one; each block's records are written here once
    // they are made, before its slot is read into again.
    const uint32_t blockSamples = BlockSamples(plan.analog.size());
    SampleBlock blocks[2] = {SampleBlock(plan.analog.size(), plan.status.size(), blockSamples),
                             SampleBlock(plan.analog.size(), plan.status.size(), blockSamples)};
    std::string records[2];
    const auto read = [&](size_t slot, size_t index) {
        out.Write(records[slot]);
        records[slot].clear();
        SampleBlock& block = blocks[slot];
        const uint32_t first = static_cast<uint32_t>(index * blockSamples);
        block.Start(first, std::min(blockSamples, plan.sampleCount - first));
        for (size_t c = 0; c < plan.analog.size(); ++c) {
            if (logical[c]) {
                logical[c]->Read(first, block.Count(), block.Values(c), block.Present(c));
            } else {
                samples.Read(plan.analog[c].channel, first, block.Count(), block.Values(c), block.Present(c));
            }
        }
        for (size_t s = 0; s < status.size(); ++s) MarkHigh(status[s], s, block);
    };
    const auto encode = [&](size_t slot, size_t) {
        encoder.Append(records[slot], blocks[slot], record.sampleInterval);
    };
    const size_t count = BlockCount(plan.sampleCount, blockSamples);
    RunBlockPipeline(count, read, encode);
    for (size_t index = count < 2 ? 0 : count - 2; index < count; ++index) out.Write(records[index % 2]);
}

}  // namespace cvdr::comtrade
