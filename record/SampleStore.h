// The raw samples of one analog trace, as compact as their values allow:
// 32-bit integers while every value fits, doubles from the first value that
// does not. The samples that are not valid (the gaps between data blocks,
// value 0) are kept as runs. Only the first `kept` samples are stored; later
// ones are counted, since nothing reads them.
//
// With a budget, every allocation of sample storage is reserved in it first;
// once it refuses, the store keeps no more values (OverBudget()) and the load
// is to fail. The budget is used only while samples are appended.
#ifndef DR_MVQ4_RECORD_SAMPLE_STORE_H
#define DR_MVQ4_RECORD_SAMPLE_STORE_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/LoadBudget.h"

namespace record {

class SampleStore {
public:
    // Samples first to end - 1.
    struct Run {
        size_t first;
        size_t end;
    };

    explicit SampleStore(size_t kept = std::numeric_limits<size_t>::max(), platform::LoadBudget* budget = nullptr)
        : m_kept(kept), m_budget(budget) {}

    // Room for `count` samples (at most the kept ones), allocated once.
    void Reserve(size_t count);
    // Whether the budget refused storage: values have been lost.
    bool OverBudget() const { return m_overBudget; }

    // The number of samples, stored or only counted.
    size_t Size() const { return m_size; }
    void AppendValue(int64_t raw) {
        if (m_size++ >= m_kept) return;
        if (!m_wide && raw == static_cast<int32_t>(raw)) {
            if (m_narrow.size() == m_narrow.capacity() && !Grow(m_narrow.size() + 1)) return;
            m_narrow.push_back(static_cast<int32_t>(raw));
        } else {
            AppendWide(static_cast<double>(raw));
        }
    }
    // `count` samples of value 0 that are not valid.
    void AppendInvalid(size_t count);
    // Drops every sample from `size` on.
    void Truncate(size_t size);

    // Sample `index` (below the kept count) as the record states it.
    double Value(size_t index) const {
        return m_wide ? m_wideValues[index] : static_cast<double>(m_narrow[index]);
    }
    bool IsValid(size_t index) const;
    // The stored samples as 32-bit integers; null once they are doubles.
    const int32_t* NarrowData() const { return m_wide ? nullptr : m_narrow.data(); }
    // The smallest and the largest of the first `count` samples (count > 0,
    // at most the kept ones).
    void Bounds(size_t count, double& low, double& high) const;
    // The runs of samples that are not valid, in order, neither overlapping
    // nor adjacent.
    const std::vector<Run>& InvalidRuns() const { return m_invalid; }

private:
    void AppendWide(double value);
    size_t Stored() const { return m_wide ? m_wideValues.size() : m_narrow.size(); }
    // Makes room for `count` stored samples, at least doubling the room while
    // under the kept count; false when the budget refuses.
    bool Grow(size_t count);
    // Reserves in the budget what `capacity` samples of `width` bytes take
    // beyond what is reserved already.
    bool Charge(size_t capacity, size_t width);

    std::vector<int32_t> m_narrow;
    std::vector<double> m_wideValues;
    bool m_wide = false;
    std::vector<Run> m_invalid;
    size_t m_size = 0;
    size_t m_kept;
    platform::LoadBudget* m_budget;
    uint64_t m_charged = 0;  // bytes reserved in the budget
    bool m_overBudget = false;
};

}  // namespace record

#endif
