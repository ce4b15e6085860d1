#include "module/StaticSampleRateAnalogChannel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

double ApplyScaling(double value, const record::Scaling& scaling) {
    value += scaling.offset;
    if (scaling.factor != 0.0 && !std::isnan(scaling.factor)) value *= scaling.factor;
    return value;
}

}  // namespace

StaticSampleRateAnalogChannel::StaticSampleRateAnalogChannel(DisturbanceDataReader* reader,
                                                             record::AnalogTrace&& trace, uint32_t color,
                                                             uint32_t sampleCount, uint32_t padding,
                                                             DigitalChannelReader* selector)
    : m_metadata(new ChannelMetadataContainer(std::move(trace.name), color)),
      m_reader(reader),
      m_unit(std::move(trace.unit)),
      m_id(trace.id),
      m_key(std::move(trace.key)),
      m_samples(std::move(trace.samples)),
      m_sampleCount(sampleCount),
      m_padding(padding),
      m_xOffset(trace.xOffsetEnabled ? static_cast<uint32_t>(trace.xOffset) : 0),
      m_selector(selector) {
    if (trace.scale) m_scalings = std::move(trace.scalings);
    FindInvalidRuns();
    FindMaxMagnitude();
}

bool StaticSampleRateAnalogChannel::Unshift(uint32_t index, uint32_t& sample) const {
    const int64_t shifted = static_cast<int64_t>(index) - m_sampleShift;
    if (shifted < 0 || shifted >= static_cast<int64_t>(m_sampleCount)) return false;
    sample = static_cast<uint32_t>(shifted);
    return true;
}

double StaticSampleRateAnalogChannel::Value(uint32_t sample) {
    const uint32_t traceSample = sample - m_xOffset;
    const double raw = traceSample >= m_sampleCount || traceSample < m_padding
                           ? 0.0
                           : m_samples.Value(traceSample - m_padding);
    if (m_scalings.empty()) return raw;
    bool second = false;
    if (m_selector != nullptr) {
        const auto inForce = m_selector->FindTransition(sample);
        second = inForce != m_selector->GetTransitionsEnd() && inForce->state == kDigitalHigh;
    }
    return ApplyScaling(raw, m_scalings[second ? 1 : 0]);
}

bool StaticSampleRateAnalogChannel::IsValid(uint32_t sample) const {
    const auto run = std::upper_bound(m_invalid.begin(), m_invalid.end(), sample,
                                      [](uint32_t value, const Run& candidate) { return value < candidate.end; });
    return run == m_invalid.end() || run->first > sample;
}

double StaticSampleRateAnalogChannel::GetSampleValue(uint32_t index) {
    uint32_t sample = 0;
    return Unshift(index, sample) ? Value(sample) : 0.0;
}

bool StaticSampleRateAnalogChannel::IsSampleValid(uint32_t index) {
    uint32_t sample = 0;
    return Unshift(index, sample) && IsValid(sample);
}

void StaticSampleRateAnalogChannel::MarkInvalid(uint64_t first, uint64_t end) {
    if (first >= end) return;
    if (!m_invalid.empty() && m_invalid.back().end == first) {
        m_invalid.back().end = static_cast<uint32_t>(end);
    } else {
        m_invalid.push_back(Run{static_cast<uint32_t>(first), static_cast<uint32_t>(end)});
    }
}

// The samples not valid are the padding and the trace's own invalid runs,
// moved by the x offset. Along the channel the trace sample number rises by
// one per sample except where it wraps around 2^32, so the channel falls into
// at most two pieces in which it is a plain shift.
void StaticSampleRateAnalogChannel::FindInvalidRuns() {
    const uint64_t count = m_sampleCount;
    for (uint64_t first = 0; first < count;) {
        const uint64_t traceFirst = static_cast<uint32_t>(static_cast<uint32_t>(first) - m_xOffset);
        const uint64_t end = std::min(count, first + (uint64_t{1} << 32) - traceFirst);
        const uint64_t traceEnd = traceFirst + (end - first);
        // The part of trace samples [from, to) that lies in this piece.
        const auto mark = [&](uint64_t from, uint64_t to) {
            from = std::max(from, traceFirst);
            to = std::min({to, traceEnd, count});
            if (from < to) MarkInvalid(first + (from - traceFirst), first + (to - traceFirst));
        };
        mark(0, m_padding);
        for (const record::SampleStore::Run& run : m_samples.InvalidRuns()) {
            mark(run.first + uint64_t{m_padding}, run.end + uint64_t{m_padding});
        }
        first = end;
    }
}

void StaticSampleRateAnalogChannel::FindMaxMagnitude() {
    const auto consider = [this](double value) {
        if (std::fabs(value) > m_maxMagnitude) m_maxMagnitude = std::fabs(value);  // NaN never compares greater
    };
    if (m_sampleCount > 0 && m_xOffset == 0 && m_padding == 0 && m_selector == nullptr) {
        // One scaling, which never reverses the order of two values: the
        // smallest and the largest raw value give the largest magnitude.
        double low = 0.0, high = 0.0;
        m_samples.Bounds(m_sampleCount, low, high);
        consider(m_scalings.empty() ? low : ApplyScaling(low, m_scalings[0]));
        consider(m_scalings.empty() ? high : ApplyScaling(high, m_scalings[0]));
        return;
    }
    for (uint32_t sample = 0; sample < m_sampleCount; ++sample) consider(Value(sample));
}

void StaticSampleRateAnalogChannel::BuildRanges() {
    if (!m_ranges.Empty()) return;
    m_ranges.Mark(m_sampleCount > 0 && IsValid(0), 0);
    for (const Run& run : m_invalid) {
        m_ranges.Mark(false, run.first);
        if (run.end < m_sampleCount) m_ranges.Mark(true, run.end);
    }
}

bool StaticSampleRateAnalogChannel::HasInvalidRanges() {
    BuildRanges();
    return m_ranges.HasInvalidRanges();
}

RangeIterator StaticSampleRateAnalogChannel::GetRangesBegin() {
    BuildRanges();
    return m_ranges.Begin();
}

RangeIterator StaticSampleRateAnalogChannel::GetRangesEnd() {
    BuildRanges();
    return m_ranges.End();
}
