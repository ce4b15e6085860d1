#include "module/TransitionalStoredLogicalChannel.h"

bool TransitionalStoredLogicalChannel::SetSample(uint32_t index, std::string_view text) {
    if (!TakeNextSample(index)) return false;
    if (text == "-1") text = std::string_view();
    if (index == 0 || text != m_currentText) {
        m_transitions.Append(LogicalTransition{std::string(text), index});
        m_currentText = std::string(text);
    }
    return true;
}

bool TransitionalStoredLogicalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->text.empty();
}
