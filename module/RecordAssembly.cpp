// Assembly of the loaded record from the decoded record: header values, then
// digital, logical and analog channels, all aligned so that sample 0 of every
// channel is the same instant.
#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>
#include <utility>

#include "module/ChannelColour.h"
#include "module/MVQ4_LoadedDisturbanceFile.h"
#include "module/RegularDigitalChannel.h"
#include "module/StaticSampleRateAnalogChannel.h"
#include "module/TransitionalStoredLogicalChannel.h"
#include "platform/TextConversion.h"
#include "record/DisturbanceRecord.h"

namespace {

// The samples put in front of every channel when the trigger lies before the
// first recorded sample; false when the padded record would exceed the
// largest sample count a record may have.
bool PaddingFor(int64_t triggerOffset, uint32_t sampleCount, uint32_t& padding) {
    padding = 0;
    if (triggerOffset >= 0) return true;
    if (triggerOffset < -record::kMaxSampleCount) return false;
    if (sampleCount - triggerOffset > record::kMaxSampleCount) return false;
    padding = static_cast<uint32_t>(-triggerOffset);
    return true;
}

// Marks the leading stretch of the first state unknown.
void MarkUnknownStart(std::vector<record::StateRun>& runs) {
    if (runs.empty()) return;
    const int32_t first = runs.front().value;
    for (record::StateRun& run : runs) {
        if (run.value != first) break;
        run.value = record::kUnknownState;
    }
}

// Puts `padding` unknown samples in front of the runs.
void PadRuns(std::vector<record::StateRun>& runs, uint32_t padding) {
    if (padding > 0) runs.insert(runs.begin(), record::StateRun{record::kUnknownState, padding});
}

}  // namespace

bool MVQ4_LoadedDisturbanceFile::Assemble(record::DisturbanceRecord& record) {
    if (!AssembleHeader(record)) return false;
    const bool digital = record.LoadDigitalSection();  // none: no digital channels
    int64_t offset = 0;
    int32_t lost = 0;
    const bool aligned = record.GetTriggerSampleOffset(offset) && record.GetLostEventCount(lost);
    // The rest is built from the decoded tables alone.
    record.ReleaseDocument();
    return aligned && (!digital || AssembleDigital(record, offset, lost)) && AssembleLogical(record, offset, lost) &&
           (MapDigitalIds(record), true) && AssembleAnalog(record, offset);
}

bool MVQ4_LoadedDisturbanceFile::AssembleHeader(record::DisturbanceRecord& record) {
    record::HeaderValues header;
    if (!record.ReadHeader(header)) return false;
    m_sampleCount = header.sampleCount;
    m_sampleInterval = header.sampleInterval;
    m_timeZoneValid = header.timeZoneValid;
    m_timeZoneOffset = header.timeZoneOffset;
    m_dstOffset = header.dstOffset;
    m_triggerTime = header.triggerTime;
    m_triggerMilliseconds = header.triggerMilliseconds;
    m_metadata.m_description = platform::WideToUtf8(header.description);
    m_metadata.m_triggerTimeText = platform::WideToUtf8(header.triggerTimeText);
    m_metadata.m_defaultXOffset = header.defaultXOffset;
    return true;
}

bool MVQ4_LoadedDisturbanceFile::AssembleDigital(record::DisturbanceRecord& record, int64_t offset, int32_t lost) {
    uint32_t padding = 0;
    if (!PaddingFor(offset, m_sampleCount, padding)) return false;
    std::vector<record::DigitalTrace>& traces = record.DigitalTraces();
    for (record::DigitalTrace& trace : traces) {
        if (lost > 0 && !record.EventSets().empty()) MarkUnknownStart(trace.runs);
        PadRuns(trace.runs, padding);
    }
    for (const record::DigitalTrace& trace : traces) {
        std::unique_ptr<RegularDigitalChannel> channel(new RegularDigitalChannel(
            this, trace.name, kTransitionalChannelColour, trace.id, trace.key, m_sampleCount));
        uint32_t first = 0;
        for (const record::StateRun& run : trace.runs) {
            const uint32_t length = static_cast<uint32_t>(run.length);
            channel->SetSamples(first, length, run.value == 1, run.value == record::kUnknownState);
            first += length;
        }
        m_digitalChannels.push_back(channel.get());
        channel.release();
    }
    return true;
}

bool MVQ4_LoadedDisturbanceFile::AssembleLogical(record::DisturbanceRecord& record, int64_t offset, int32_t lost) {
    uint32_t padding = 0;
    if (!PaddingFor(offset, m_sampleCount, padding)) return false;
    std::vector<record::LogicalTrace>& traces = record.LogicalTraces();
    if (lost > 0 && !record.EventSets().empty()) {
        for (record::LogicalTrace& trace : traces) MarkUnknownStart(trace.runs);
    }
    for (record::LogicalTrace& trace : traces) PadRuns(trace.runs, padding);
    for (const record::LogicalTrace& trace : traces) {
        std::unique_ptr<TransitionalStoredLogicalChannel> channel(new TransitionalStoredLogicalChannel(
            this, trace.name, kTransitionalChannelColour, trace.id, trace.key));
        // The channel has the record's samples: a longer trace is cut, a
        // shorter one goes on unknown.
        uint32_t first = 0;
        char text[16];
        for (const record::StateRun& run : trace.runs) {
            if (first >= m_sampleCount) break;
            const uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(run.length, m_sampleCount - first));
            const auto end = std::to_chars(text, text + sizeof text, run.value).ptr;
            channel->SetSamples(first, length, std::string_view(text, static_cast<size_t>(end - text)));
            first += length;
        }
        if (first < m_sampleCount) channel->SetSamples(first, m_sampleCount - first, "-1");
        m_logicalChannels.push_back(channel.get());
        channel.release();
    }
    return true;
}

void MVQ4_LoadedDisturbanceFile::MapDigitalIds(record::DisturbanceRecord& record) {
    const std::vector<record::DigitalTrace>& traces = record.DigitalTraces();
    for (size_t i = 0; i < m_digitalChannels.size() && i < traces.size(); ++i) {
        m_digitalById[traces[i].id] = static_cast<RegularDigitalChannel*>(m_digitalChannels[i]);
    }
}

bool MVQ4_LoadedDisturbanceFile::PadAnalogTraces(int64_t offset, uint32_t& padding) {
    padding = 0;
    if (offset >= 0) {
        if (offset > std::numeric_limits<uint32_t>::max()) return false;
        m_triggerSample = static_cast<uint32_t>(offset);
        return true;
    }
    if (!PaddingFor(offset, m_sampleCount, padding)) return false;
    m_sampleCount += padding;
    m_triggerSample = 0;
    return true;
}

bool MVQ4_LoadedDisturbanceFile::AssembleAnalog(record::DisturbanceRecord& record, int64_t offset) {
    uint32_t padding = 0;
    if (!PadAnalogTraces(offset, padding)) return false;
    const uint32_t count = m_sampleCount;
    std::vector<record::AnalogTrace>& traces = record.AnalogTraces();
    for (size_t i = 0; i < traces.size(); ++i) {
        record::AnalogTrace& trace = traces[i];
        if (trace.samples.Size() + padding < count) return false;
        // A second scaling switched by a digital channel: that channel must exist.
        RegularDigitalChannel* selector = nullptr;
        const bool switched = trace.scale && count > 0 && trace.scalings.size() > 1 && trace.scalings[1].refEnable != 0;
        if (switched) {
            const auto found = m_digitalById.find(trace.scalings[1].refEnable);
            if (found == m_digitalById.end()) return false;
            selector = found->second;
        }
        const uint32_t colour = AnalogChannelColour(trace.shortKey, static_cast<uint32_t>(i));
        std::unique_ptr<StaticSampleRateAnalogChannel> channel(
            new StaticSampleRateAnalogChannel(this, std::move(trace), colour, count, padding, selector));
        m_analogChannels.push_back(channel.get());
        channel.release();
    }
    return true;
}
