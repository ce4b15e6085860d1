#include "plot/TraceDecimator.h"

#include <algorithm>
#include <cmath>

namespace cvdr::plot {
namespace {

// Collects the valid samples of one pixel column at a time.
class ColumnCollector {
public:
    explicit ColumnCollector(DecimatedTrace& trace) : m_trace(trace) {}

    void Add(int64_t column, double x, double value, bool afterGap) {
        if (column != m_column) {
            Emit();
            m_column = column;
            m_count = 0;
        }
        if (m_count == 0) {
            m_x = x;
            m_first = m_low = m_high = value;
            m_afterGap = afterGap;
        }
        m_low = std::min(m_low, value);
        m_high = std::max(m_high, value);
        m_last = value;
        ++m_count;
    }

    void Emit() {
        if (m_count == 0) return;
        const bool joined = !m_afterGap && m_hasPrevious;
        if (m_count == 1) {
            // After a bar the line starts from the bar's last value.
            if (joined && m_previousWasBar) m_trace.points.push_back({m_previousX, m_previousLast, true});
            m_trace.points.push_back({m_x, m_first, !joined});
        } else {
            const double low = joined ? std::min(m_low, m_previousLast) : m_low;
            const double high = joined ? std::max(m_high, m_previousLast) : m_high;
            m_trace.bars.push_back({static_cast<double>(m_column), low, high});
        }
        m_previousWasBar = m_count > 1;
        m_previousX = m_count > 1 ? static_cast<double>(m_column) + 0.5 : m_x;
        m_previousLast = m_last;
        m_hasPrevious = true;
        m_count = 0;
    }

private:
    DecimatedTrace& m_trace;
    int64_t m_column = 0;
    size_t m_count = 0;
    double m_x = 0.0;
    double m_first = 0.0, m_low = 0.0, m_high = 0.0, m_last = 0.0;
    bool m_afterGap = true;
    bool m_hasPrevious = false;
    bool m_previousWasBar = false;
    double m_previousX = 0.0;
    double m_previousLast = 0.0;
};

}  // namespace

DecimatedTrace DecimateTrace(const host::AnalogChannel& channel, uint32_t first, uint32_t last,
                             const SampleScale& scale) {
    DecimatedTrace trace;
    ColumnCollector columns(trace);
    bool afterGap = true;  // the trace starts a new stroke
    for (uint64_t sample = first; sample <= last; ++sample) {
        const auto s = static_cast<uint32_t>(sample);
        const double value = channel.IsValid(s) ? channel.values[s] : NAN;
        if (!std::isfinite(value)) {
            afterGap = true;
            continue;
        }
        const double x = scale.X(s);
        columns.Add(static_cast<int64_t>(std::floor(x)), x, value, afterGap);
        afterGap = false;
    }
    columns.Emit();
    return trace;
}

}  // namespace cvdr::plot
