#include "module/RegularDigitalChannel.h"

bool RegularDigitalChannel::SetSamples(uint32_t first, uint32_t count, bool high, bool invalid) {
    const uint32_t state = invalid ? kDigitalInvalid : (high ? kDigitalHigh : kDigitalLow);
    if (!TakeNextSamples(first, count)) return false;
    if (first == 0 || state != m_currentState) {
        m_transitions.Append(DigitalTransition{state, first});
        m_currentState = state;
    }
    return true;
}

bool RegularDigitalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->state == kDigitalInvalid;
}
