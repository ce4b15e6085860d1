// Assembly of the loaded record from the decoded record: header values, then
// digital, logical and analog channels, all aligned so that sample 0 of every
// channel is the same instant.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

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

// Replaces the leading run of the first element by `unknown`.
template <typename Sequence, typename Element>
void MarkUnknownStart(Sequence& samples, Element unknown) {
    if (samples.empty()) return;
    const auto first = samples[0];
    for (auto& sample : samples) {
        if (sample != first) break;
        sample = unknown;
    }
}

double ApplyScaling(double value, const record::Scaling& scaling) {
    value += scaling.offset;
    if (scaling.factor != 0.0 && !std::isnan(scaling.factor)) value *= scaling.factor;
    return value;
}

}  // namespace

bool MVQ4_LoadedDisturbanceFile::Assemble(record::DisturbanceRecord& record) {
    return AssembleHeader(record) && AssembleDigital(record) && AssembleLogical(record) &&
           (MapDigitalIds(record), true) && AssembleAnalog(record);
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

bool MVQ4_LoadedDisturbanceFile::AssembleDigital(record::DisturbanceRecord& record) {
    if (!record.LoadDigitalSection()) return true;  // no digital section: no digital channels
    int64_t offset = 0;
    int32_t lost = 0;
    uint32_t padding = 0;
    if (!record.GetTriggerSampleOffset(offset) || !record.GetLostEventCount(lost)) return false;
    if (!PaddingFor(offset, m_sampleCount, padding)) return false;
    std::vector<record::DigitalTrace>& traces = record.DigitalTraces();
    for (record::DigitalTrace& trace : traces) {
        if (lost > 0 && !record.EventSets().empty()) MarkUnknownStart(trace.samples, 'x');
        if (padding > 0) trace.samples.insert(0, padding, 'x');
    }
    for (const record::DigitalTrace& trace : traces) {
        std::unique_ptr<RegularDigitalChannel> channel(new RegularDigitalChannel(
            this, trace.name, kTransitionalChannelColour, trace.id, trace.key, m_sampleCount));
        for (size_t p = 0; p < trace.samples.size(); ++p) {
            channel->SetSample(static_cast<uint32_t>(p), trace.samples[p] == '1', trace.samples[p] == 'x');
        }
        m_digitalChannels.push_back(channel.get());
        channel.release();
    }
    return true;
}

bool MVQ4_LoadedDisturbanceFile::AssembleLogical(record::DisturbanceRecord& record) {
    int32_t lost = 0;
    int64_t offset = 0;
    uint32_t padding = 0;
    if (!record.GetLostEventCount(lost)) return false;
    std::vector<record::LogicalTrace>& traces = record.LogicalTraces();
    if (lost > 0 && !record.EventSets().empty()) {
        for (record::LogicalTrace& trace : traces) MarkUnknownStart(trace.values, -1);
    }
    if (!record.GetTriggerSampleOffset(offset) || !PaddingFor(offset, m_sampleCount, padding)) return false;
    for (record::LogicalTrace& trace : traces) trace.values.insert(trace.values.begin(), padding, -1);
    for (const record::LogicalTrace& trace : traces) {
        std::unique_ptr<TransitionalStoredLogicalChannel> channel(new TransitionalStoredLogicalChannel(
            this, trace.name, kTransitionalChannelColour, trace.id, trace.key));
        char text[16];
        for (uint32_t s = 0; s < m_sampleCount; ++s) {
            // Values beyond the end of a trace are unknown.
            const int32_t value = s < trace.values.size() ? trace.values[s] : -1;
            const auto end = std::to_chars(text, text + sizeof text, value).ptr;
            channel->SetSample(s, std::string_view(text, static_cast<size_t>(end - text)));
        }
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

bool MVQ4_LoadedDisturbanceFile::PadAnalogTraces(record::DisturbanceRecord& record, int64_t offset) {
    if (offset >= 0) {
        if (offset > std::numeric_limits<uint32_t>::max()) return false;
        m_triggerSample = static_cast<uint32_t>(offset);
        return true;
    }
    uint32_t padding = 0;
    if (!PaddingFor(offset, m_sampleCount, padding)) return false;
    m_sampleCount += padding;
    for (record::AnalogTrace& trace : record.AnalogTraces()) {
        trace.samples.insert(trace.samples.begin(), padding, record::AnalogSample{});
    }
    m_triggerSample = 0;
    return true;
}

bool MVQ4_LoadedDisturbanceFile::AssembleAnalog(record::DisturbanceRecord& record) {
    int64_t offset = 0;
    if (!record.GetTriggerSampleOffset(offset) || !PadAnalogTraces(record, offset)) return false;
    const uint32_t count = m_sampleCount;
    std::vector<record::AnalogTrace>& traces = record.AnalogTraces();
    for (size_t i = 0; i < traces.size(); ++i) {
        const record::AnalogTrace& trace = traces[i];
        if (trace.samples.size() < count) return false;
        // A second scaling switched by a digital channel: that channel must exist.
        RegularDigitalChannel* selector = nullptr;
        const bool switched = trace.scale && count > 0 && trace.scalings.size() > 1 && trace.scalings[1].refEnable != 0;
        if (switched) {
            const auto found = m_digitalById.find(trace.scalings[1].refEnable);
            if (found == m_digitalById.end()) return false;
            selector = found->second;
        }
        std::unique_ptr<StaticSampleRateAnalogChannel> channel(new StaticSampleRateAnalogChannel(
            this, trace.name, AnalogChannelColour(trace.shortKey, static_cast<uint32_t>(i)), trace.unit, trace.key,
            trace.id, count));
        for (uint32_t s = 0; s < count; ++s) {
            const uint32_t j = trace.xOffsetEnabled ? s - static_cast<uint32_t>(trace.xOffset) : s;
            record::AnalogSample sample = j < count ? trace.samples[j] : record::AnalogSample{0.0, true};
            if (trace.scale && !trace.scalings.empty()) {
                bool second = false;
                if (selector != nullptr) {
                    const auto inForce = selector->FindTransition(s);
                    second = inForce != selector->GetTransitionsEnd() && inForce->state == kDigitalHigh;
                }
                sample.value = ApplyScaling(sample.value, trace.scalings[second ? 1 : 0]);
            }
            channel->SetSample(s, sample.value, sample.valid);
        }
        m_analogChannels.push_back(channel.get());
        channel.release();
    }
    return true;
}
