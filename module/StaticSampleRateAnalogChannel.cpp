#include "module/StaticSampleRateAnalogChannel.h"

#include <algorithm>
#include <cmath>
#include <utility>

// A factor that is not applied becomes 1: multiplying by it changes no value.
StaticSampleRateAnalogChannel::Scale::Scale(const record::Scaling& scaling)
    : offset(scaling.offset),
      factor(scaling.factor != 0.0 && !std::isnan(scaling.factor) ? scaling.factor : 1.0) {}

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
      m_traceSamples(sampleCount - std::min(padding, sampleCount)),
      m_xOffset(trace.xOffsetEnabled ? static_cast<uint32_t>(trace.xOffset) : 0) {
    if (trace.scale && !trace.scalings.empty()) {
        m_scales[0] = Scale(trace.scalings[0]);
        if (trace.scalings.size() > 1) m_scales[1] = Scale(trace.scalings[1]);
    }
    if (selector != nullptr) FindSecondScaleRuns(*selector);
    FindInvalidRuns();
    FindMaxMagnitude();
    UpdateFastPaths();
}

void StaticSampleRateAnalogChannel::SetSampleShift(int shift) {
    m_sampleShift = shift;
    UpdateFastPaths();
}

// Without a shift the host's index is the sample itself: where, in addition,
// the channel shows its trace one to one under one scale, a value is read
// straight from the stored integers, and where no sample is invalid, every
// sample is valid.
void StaticSampleRateAnalogChannel::UpdateFastPaths() {
    const bool unshifted = m_sampleShift == 0;
    m_direct = m_samples.NarrowData();
    const bool oneToOne = m_direct != nullptr && m_xOffset == 0 && m_padding == 0 && m_secondScaleRuns.empty();
    m_directCount = unshifted && oneToOne ? m_sampleCount : 0;
    m_allValidCount = unshifted && m_invalid.empty() ? m_sampleCount : 0;
}

bool StaticSampleRateAnalogChannel::Unshift(uint32_t index, uint32_t& sample) const {
    const int64_t shifted = static_cast<int64_t>(index) - m_sampleShift;
    if (shifted < 0 || shifted >= static_cast<int64_t>(m_sampleCount)) return false;
    sample = static_cast<uint32_t>(shifted);
    return true;
}

double StaticSampleRateAnalogChannel::Value(uint32_t sample) const {
    // The trace holds samples padding to sampleCount - 1 of the x-shifted
    // numbering; before them lies the padding, after them the record's end.
    const uint32_t traceSample = sample - m_xOffset - m_padding;
    const double raw = traceSample < m_traceSamples ? m_samples.Value(traceSample) : 0.0;
    const bool second = !m_secondScaleRuns.empty() && InRuns(m_secondScaleRuns, sample);
    return m_scales[second ? 1 : 0].Apply(raw);
}

bool StaticSampleRateAnalogChannel::IsValid(uint32_t sample) const {
    return m_invalid.empty() || !InRuns(m_invalid, sample);
}

bool StaticSampleRateAnalogChannel::InRuns(const std::vector<Run>& runs, uint32_t sample) {
    const auto run = std::upper_bound(runs.begin(), runs.end(), sample,
                                      [](uint32_t value, const Run& candidate) { return value < candidate.end; });
    return run != runs.end() && run->first <= sample;
}

// The selector's state in force at a sample is that of its last transition
// starting at or before it, or of its first transition before that one.
void StaticSampleRateAnalogChannel::FindSecondScaleRuns(DigitalChannelReader& selector) {
    const uint32_t count = m_sampleCount;
    const auto begin = selector.GetTransitionsBegin(), end = selector.GetTransitionsEnd();
    for (auto it = begin; it != end; ++it) {
        auto next = it;
        ++next;
        const uint32_t first = it == begin ? 0 : std::min(it->firstSample, count);
        const uint32_t last = next == end ? count : std::min(next->firstSample, count);
        if (it->state == kDigitalHigh && first < last) m_secondScaleRuns.push_back(Run{first, last});
    }
}

double StaticSampleRateAnalogChannel::ShiftedValue(uint32_t index) const {
    uint32_t sample = 0;
    return Unshift(index, sample) ? Value(sample) : 0.0;
}

bool StaticSampleRateAnalogChannel::ShiftedValid(uint32_t index) const {
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
    if (m_sampleCount > 0 && m_xOffset == 0 && m_padding == 0 && m_secondScaleRuns.empty()) {
        // One scaling, which never reverses the order of two values: the
        // smallest and the largest raw value give the largest magnitude.
        double low = 0.0, high = 0.0;
        m_samples.Bounds(m_sampleCount, low, high);
        consider(m_scales[0].Apply(low));
        consider(m_scales[0].Apply(high));
        return;
    }
    // Through the trace value by value; outside it every sample reads as a
    // raw 0, one value until the trace begins or the scale changes.
    for (uint64_t sample = 0; sample < m_sampleCount;) {
        const uint32_t at = static_cast<uint32_t>(sample);
        consider(Value(at));
        const uint32_t traceSample = at - m_xOffset - m_padding;
        if (traceSample < m_traceSamples) {
            ++sample;
        } else {
            sample = std::min(sample + ((uint64_t{1} << 32) - traceSample), NextScaleChange(at));
        }
    }
}

uint64_t StaticSampleRateAnalogChannel::NextScaleChange(uint32_t sample) const {
    const auto run = std::upper_bound(m_secondScaleRuns.begin(), m_secondScaleRuns.end(), sample,
                                      [](uint32_t value, const Run& candidate) { return value < candidate.end; });
    if (run == m_secondScaleRuns.end()) return m_sampleCount;
    return run->first > sample ? run->first : run->end;
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
