#include "module/StaticSampleRateAnalogChannel.h"

#include <cmath>


StaticSampleRateAnalogChannel::StaticSampleRateAnalogChannel(DisturbanceDataReader* reader, const std::string& name,
                                                             uint32_t color, const std::string& unit,
                                                             const std::string& key, int id, uint32_t sampleCount)
    : m_metadata(new ChannelMetadataContainer(name, color)),
      m_reader(reader),
      m_unit(unit),
      m_id(id),
      m_key(key),
      m_samples(sampleCount, Sample{0.0, false}) {}

bool StaticSampleRateAnalogChannel::SetSample(uint32_t index, double value, bool valid) {
    if (index >= m_samples.size()) return false;
    m_samples[index] = Sample{value, valid};
    if (std::fabs(value) > m_maxMagnitude) m_maxMagnitude = std::fabs(value);  // NaN never compares greater
    return true;
}

const StaticSampleRateAnalogChannel::Sample& StaticSampleRateAnalogChannel::SampleAt(uint32_t index) const {
    static const Sample kOutside{0.0, false};
    if (m_sampleShift == 0) return index < m_samples.size() ? m_samples[index] : kOutside;
    const int64_t shifted = static_cast<int64_t>(index) - m_sampleShift;
    if (shifted < 0 || shifted >= static_cast<int64_t>(m_samples.size())) return kOutside;
    return m_samples[static_cast<size_t>(shifted)];
}

void StaticSampleRateAnalogChannel::BuildRanges() {
    if (!m_ranges.Empty()) return;
    m_ranges.Mark(!m_samples.empty() && m_samples[0].valid, 0);
    for (size_t i = 1; i < m_samples.size(); ++i) m_ranges.Mark(m_samples[i].valid, static_cast<uint32_t>(i));
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
