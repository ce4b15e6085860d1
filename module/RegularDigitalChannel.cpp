#include "module/RegularDigitalChannel.h"

RegularDigitalChannel::RegularDigitalChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color,
                                             int id, const std::string& key, uint32_t sampleCount)
    : m_metadata(new ChannelMetadataContainer(name, color)),
      m_reader(reader),
      m_sampleCount(sampleCount),
      m_ranges(new SeparatedRangeStorage<DigitalTransition>(this)),
      m_id(id),
      m_key(key) {}

bool RegularDigitalChannel::SetSample(uint32_t index, bool high, bool invalid) {
    const uint32_t state = invalid ? kDigitalInvalid : (high ? kDigitalHigh : kDigitalLow);
    if (static_cast<int64_t>(index) != static_cast<int64_t>(m_lastSample) + 1) return false;
    if (index == 0 || state != m_currentState) {
        m_transitions.Append(DigitalTransition{state, index});
        m_currentState = state;
    }
    m_lastSample = static_cast<int32_t>(index);
    return true;
}

bool RegularDigitalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->state == kDigitalInvalid;
}
