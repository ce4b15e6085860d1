#include "module/TransitionalStoredLogicalChannel.h"

bool TransitionalStoredLogicalChannel::SetSamples(uint32_t first, uint32_t count, std::string_view text) {
    if (!TakeNextSamples(first, count)) return false;
    if (text == "-1") text = std::string_view();
    if (first == 0 || text != m_currentText) {
        m_transitions.Append(LogicalTransition{std::string(text), first});
        m_currentText = std::string(text);
    }
    return true;
}

bool TransitionalStoredLogicalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->text.empty();
}
