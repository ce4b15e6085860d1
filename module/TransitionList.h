// The owned, ordered transition records of a digital or logical channel and
// the operations both channel kinds share: appending in sample order,
// counting, and finding the transition in force at a sample.
#ifndef DR_MVQ4_MODULE_TRANSITION_LIST_H
#define DR_MVQ4_MODULE_TRANSITION_LIST_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"

template <typename Transition>
class TransitionList {
public:
    using Iterator = RecordIterator<Transition>;

    TransitionList() = default;
    ~TransitionList() {
        for (Transition* transition : m_transitions) delete transition;
    }
    TransitionList(const TransitionList&) = delete;
    TransitionList& operator=(const TransitionList&) = delete;

    void Append(Transition transition) {
        std::unique_ptr<Transition> owned(new Transition(std::move(transition)));
        m_transitions.push_back(owned.get());  // owned is released only once the list holds it
        owned.release();
    }
    int Count() const { return static_cast<int>(m_transitions.size()); }
    bool Empty() const { return m_transitions.empty(); }
    const Transition& At(int index) const { return *m_transitions[static_cast<size_t>(index)]; }
    const Transition& Last() const { return *m_transitions.back(); }

    Iterator Begin() const { return Iterator(m_transitions.data()); }
    Iterator End() const { return Iterator(m_transitions.data() + m_transitions.size()); }

    // The last transition whose first sample is at or before `sample`. The
    // first transition starts at sample 0, so every sample of a filled channel
    // finds one; an empty list gives End().
    Iterator Find(uint32_t sample) const {
        if (m_transitions.empty()) return End();
        const auto after = std::upper_bound(
            m_transitions.begin(), m_transitions.end(), sample,
            [](uint32_t value, const Transition* transition) { return value < transition->firstSample; });
        const size_t index = after == m_transitions.begin() ? 0 : static_cast<size_t>(after - m_transitions.begin()) - 1;
        return Iterator(m_transitions.data() + index);
    }

private:
    std::vector<Transition*> m_transitions;
};

#endif
