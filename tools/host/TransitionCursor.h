// The state of a digital or logical channel sample by sample, for whoever
// walks a record from its first sample to its last.
#ifndef DR_MVQ4_HOST_TRANSITION_CURSOR_H
#define DR_MVQ4_HOST_TRANSITION_CURSOR_H

#include <cstdint>
#include <limits>
#include <vector>

#include "host/Record.h"

namespace host {

inline constexpr uint32_t kNoSample = std::numeric_limits<uint32_t>::max();

// Walks a channel's transitions forwards. Ask for samples in rising order;
// asking for an earlier sample than before gives the transition of the
// later one. The channel must outlive the cursor.
template <typename Transition>
class TransitionCursor {
public:
    explicit TransitionCursor(const TransitionalChannel<Transition>& channel)
        : m_next(channel.transitions.begin()),
          m_end(channel.transitions.end()),
          m_count(channel.sampleCount) {}

    // The transition in force at `sample`; null before the first transition
    // and beyond the channel's samples.
    const Transition* At(uint32_t sample) {
        if (sample >= m_count) return nullptr;
        while (m_next != m_end && m_next->firstSample <= sample) {
            m_current = &*m_next;
            ++m_next;
        }
        return m_current;
    }

    // First sample after `sample` where the state may change; kNoSample when
    // it stays to the end. Call after At(sample).
    uint32_t RunEnd(uint32_t sample) const {
        if (sample >= m_count) return kNoSample;
        const uint32_t next = m_next != m_end ? m_next->firstSample : kNoSample;
        return next < m_count ? next : m_count;
    }

private:
    typename std::vector<Transition>::const_iterator m_next;
    typename std::vector<Transition>::const_iterator m_end;
    uint32_t m_count;
    const Transition* m_current = nullptr;
};

// 1 high, 0 low, -1 invalid (no transition in force, or a state of no meaning).
inline int DigitalLevel(const DigitalTransition* transition) {
    if (transition == nullptr) return -1;
    if (transition->state == kDigitalHigh) return 1;
    if (transition->state == kDigitalLow) return 0;
    return -1;
}

// An empty text is the invalid state.
inline bool IsLogicalValid(const LogicalTransition* transition) {
    return transition != nullptr && !transition->text.empty();
}

}  // namespace host

#endif
