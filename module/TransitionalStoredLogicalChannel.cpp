#include "module/TransitionalStoredLogicalChannel.h"

TransitionalStoredLogicalChannel::TransitionalStoredLogicalChannel(DisturbanceDataReader* reader,
                                                                   const std::string& name, uint32_t color, int id,
                                                                   const std::string& key)
    : m_metadata(new ChannelMetadataContainer(name, color)),
      m_reader(reader),
      m_ranges(new SeparatedRangeStorage<LogicalTransition>(this)),
      m_id(id),
      m_key(key) {}

bool TransitionalStoredLogicalChannel::SetSample(uint32_t index, std::string_view text) {
    if (static_cast<int64_t>(index) != static_cast<int64_t>(m_lastSample) + 1) return false;
    if (text == "-1") text = std::string_view();
    if (index == 0 || text != m_currentText) {
        m_transitions.Append(LogicalTransition{std::string(text), index});
        m_currentText = std::string(text);
    }
    m_lastSample = static_cast<int32_t>(index);
    return true;
}

bool TransitionalStoredLogicalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->text.empty();
}
