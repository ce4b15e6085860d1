// The owned range records of one channel: runs of valid or invalid samples,
// each starting where the previous one ends.
#ifndef DR_MVQ4_MODULE_RANGE_LIST_H
#define DR_MVQ4_MODULE_RANGE_LIST_H

#include <memory>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"

class RangeList {
public:
    RangeList() = default;
    ~RangeList() {
        for (RangeRecord* range : m_ranges) delete range;
    }
    RangeList(const RangeList&) = delete;
    RangeList& operator=(const RangeList&) = delete;

    bool Empty() const { return m_ranges.empty(); }
    // Starts the list, or appends a range when `valid` differs from the last.
    void Mark(bool valid, uint32_t firstSample) {
        if (!m_ranges.empty() && m_ranges.back()->valid == valid) return;
        std::unique_ptr<RangeRecord> owned(new RangeRecord{valid, firstSample});
        m_ranges.push_back(owned.get());  // released only once the list holds it
        owned.release();
    }
    // More than one run, or a single run that is invalid.
    bool HasInvalidRanges() const { return m_ranges.size() > 1 || (!m_ranges.empty() && !m_ranges.front()->valid); }
    RangeIterator Begin() const { return RangeIterator(m_ranges.data()); }
    RangeIterator End() const { return RangeIterator(m_ranges.data() + m_ranges.size()); }

private:
    std::vector<RangeRecord*> m_ranges;
};

#endif
