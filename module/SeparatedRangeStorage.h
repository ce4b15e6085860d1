// The runs of valid and invalid samples of a digital or logical channel,
// built from its owner's transitions on the first call of any slot.
#ifndef DR_MVQ4_MODULE_SEPARATED_RANGE_STORAGE_H
#define DR_MVQ4_MODULE_SEPARATED_RANGE_STORAGE_H

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/RangeList.h"

template <typename Transition>
class SeparatedRangeStorage : public RangeMarker {
public:
    explicit SeparatedRangeStorage(TransitionalChannelReader<Transition>* owner) : m_owner(owner) {}
    SeparatedRangeStorage(const SeparatedRangeStorage&) = delete;
    SeparatedRangeStorage& operator=(const SeparatedRangeStorage&) = delete;

    bool HasInvalidRanges() override {
        Build();
        return m_ranges.HasInvalidRanges();
    }
    RangeIterator GetRangesBegin() override {
        Build();
        return m_ranges.Begin();
    }
    RangeIterator GetRangesEnd() override {
        Build();
        return m_ranges.End();
    }

private:
    void Build() {
        if (!m_ranges.Empty()) return;
        m_ranges.Mark(!m_owner->IsSampleInvalid(0), 0);
        const int count = m_owner->GetTransitionCount();
        for (int index = 0; index < count; ++index) {
            const uint32_t sample = m_owner->GetTransitionSample(index);
            m_ranges.Mark(!m_owner->IsSampleInvalid(sample), sample);
        }
    }

    TransitionalChannelReader<Transition>* m_owner;
    RangeList m_ranges;
};

#endif
