#include "plot/StepColumns.h"

#include <algorithm>
#include <cmath>

#include "formats/Utf8Text.h"
#include "host/TransitionCursor.h"

namespace cvdr::plot {
namespace {

class ColumnMarker {
public:
    ColumnMarker(const SampleScale& scale, uint32_t first, uint32_t last) : m_scale(scale) {
        m_columns.firstColumn = Column(scale.X(first));
        const int64_t end = Column(scale.X(last)) + 1;
        m_columns.marks.assign(static_cast<size_t>(std::max<int64_t>(end - m_columns.firstColumn, 1)), 0);
    }

    // Marks the samples [begin, end) with `mark`; the run lasts until the
    // next sample's position, so that a run of one sample is one column.
    void Mark(uint32_t begin, uint32_t end, uint8_t mark, bool change) {
        const int64_t from = Column(m_scale.X(begin));
        const int64_t to = std::max(from, Column(m_scale.X(end) - 1e-9));
        if (change) Set(from, kStepChange);
        for (int64_t column = from; column <= to; ++column) Set(column, mark);
    }

    StepColumns& Result() { return m_columns; }

private:
    static int64_t Column(double x) { return static_cast<int64_t>(std::floor(x)); }

    void Set(int64_t column, uint8_t mark) {
        const int64_t index = column - m_columns.firstColumn;
        if (index >= 0 && index < static_cast<int64_t>(m_columns.marks.size())) {
            m_columns.marks[static_cast<size_t>(index)] |= mark;
        }
    }

    SampleScale m_scale;
    StepColumns m_columns;
};

// Calls visit(begin, end, transition) for each run of one state within
// first..last, `end` excluded.
template <typename Transition, typename Visit>
void ForEachRun(const host::TransitionalChannel<Transition>& channel, uint32_t first, uint32_t last,
                Visit visit) {
    host::TransitionCursor<Transition> cursor(channel);
    for (uint64_t sample = first; sample <= last;) {
        const auto s = static_cast<uint32_t>(sample);
        const Transition* state = cursor.At(s);
        const uint64_t end = std::min<uint64_t>(cursor.RunEnd(s), uint64_t{last} + 1);
        visit(s, static_cast<uint32_t>(end), state);
        sample = end;
    }
}

}  // namespace

StepColumns DigitalColumns(const host::DigitalChannel& channel, uint32_t first, uint32_t last,
                           const SampleScale& scale) {
    ColumnMarker marker(scale, first, last);
    bool started = false;
    ForEachRun(channel, first, last, [&](uint32_t begin, uint32_t end, const DigitalTransition* state) {
        const int level = host::DigitalLevel(state);
        marker.Mark(begin, end, level < 0 ? kStepInvalid : level == 1 ? kStepHigh : kStepLow, started);
        started = true;
    });
    return std::move(marker.Result());
}

StepColumns LogicalColumns(const host::LogicalChannel& channel, uint32_t first, uint32_t last,
                           const SampleScale& scale, double minLabelWidth) {
    ColumnMarker marker(scale, first, last);
    bool started = false;
    ForEachRun(channel, first, last, [&](uint32_t begin, uint32_t end, const LogicalTransition* state) {
        const bool valid = host::IsLogicalValid(state);
        marker.Mark(begin, end, valid ? kStepHigh : kStepInvalid, started);
        started = true;
        const double left = scale.X(begin);
        const double right = scale.X(end);
        if (valid && right - left >= minLabelWidth)
            marker.Result().labels.push_back({left, right, ValidUtf8(state->text)});
    });
    return std::move(marker.Result());
}

}  // namespace cvdr::plot
