// The raw samples of one analog trace, as compact as their values allow:
// 32-bit integers while every value fits, doubles from the first value that
// does not. The samples that are not valid (the gaps between data blocks,
// value 0) are kept as runs. Only the first `kept` samples are stored; later
// ones are counted, since nothing reads them.
#ifndef DR_MVQ4_RECORD_SAMPLE_STORE_H
#define DR_MVQ4_RECORD_SAMPLE_STORE_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace record {

class SampleStore {
public:
    // Samples first to end - 1.
    struct Run {
        size_t first;
        size_t end;
    };

    explicit SampleStore(size_t kept = std::numeric_limits<size_t>::max()) : m_kept(kept) {}

    // Room for `count` samples (at most the kept ones), allocated once.
    void Reserve(size_t count);

    // The number of samples, stored or only counted.
    size_t Size() const { return m_size; }
    void AppendValue(int64_t raw) {
        if (m_size++ >= m_kept) return;
        if (!m_wide && raw == static_cast<int32_t>(raw)) {
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

    std::vector<int32_t> m_narrow;
    std::vector<double> m_wideValues;
    bool m_wide = false;
    std::vector<Run> m_invalid;
    size_t m_size = 0;
    size_t m_kept;
};

}  // namespace record

#endif
