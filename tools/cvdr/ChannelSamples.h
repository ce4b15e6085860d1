// Sample-by-sample access to a record's channels for the exports and the
// plot, which walk every channel from the first sample to the last.
//
// A channel may hold fewer samples than the record; samples beyond its own
// count are invalid. Analog channels are read with no sample shift.
#ifndef CVDR_CHANNEL_SAMPLES_H
#define CVDR_CHANNEL_SAMPLES_H

#include <cstdint>
#include <limits>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

inline constexpr uint32_t kNoSample = std::numeric_limits<uint32_t>::max();

class AnalogSamples {
public:
    explicit AnalogSamples(AnalogChannelReader& channel)
        : m_channel(&channel), m_count(channel.GetSampleCount()) {
        channel.SetSampleShift(0);
    }

    bool IsValid(uint32_t sample) const { return sample < m_count && m_channel->IsSampleValid(sample); }
    double Value(uint32_t sample) const { return m_channel->GetSampleValue(sample); }
    AnalogChannelReader& Channel() const { return *m_channel; }

private:
    AnalogChannelReader* m_channel;
    uint32_t m_count;
};

// Walks a digital or logical channel's transitions forwards. Ask for samples
// in rising order; asking for an earlier sample than before gives the
// transition of the later one.
template <typename Transition>
class TransitionCursor {
public:
    explicit TransitionCursor(TransitionalChannelReader<Transition>& channel)
        : m_next(channel.GetTransitionsBegin()),
          m_end(channel.GetTransitionsEnd()),
          m_count(channel.GetSampleCount()) {}

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
    RecordIterator<Transition> m_next;
    RecordIterator<Transition> m_end;
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

}  // namespace cvdr

#endif
