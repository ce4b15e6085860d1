#include "module/RegularDigitalChannel.h"

bool RegularDigitalChannel::SetSample(uint32_t index, bool high, bool invalid) {
    const uint32_t state = invalid ? kDigitalInvalid : (high ? kDigitalHigh : kDigitalLow);
    if (!TakeNextSample(index)) return false;
    if (index == 0 || state != m_currentState) {
        m_transitions.Append(DigitalTransition{state, index});
        m_currentState = state;
    }
    return true;
}

bool RegularDigitalChannel::IsSampleInvalid(uint32_t sample) {
    const Iterator found = m_transitions.Find(sample);
    return found == m_transitions.End() || found->state == kDigitalInvalid;
}
