// Reduces a channel's samples in the plot window to what each pixel column
// shows, so that drawing costs the same for a thousand samples as for
// millions. A column holding several samples becomes a bar from its lowest
// to its highest value (reaching to the column before, so that the trace
// stays joined); where samples are sparser than pixels they stay points at
// their exact places, joined by lines. Invalid and non-finite samples break
// the trace.
#ifndef CVDR_PLOT_TRACE_DECIMATOR_H
#define CVDR_PLOT_TRACE_DECIMATOR_H

#include <cstdint>
#include <vector>

#include "host/Record.h"
#include "plot/PlotGeometry.h"

namespace cvdr::plot {

struct TracePoint {
    double x;
    double value;
    bool startsStroke;  // not joined to the point before
};

// One pixel column [x, x + 1) filled from low to high.
struct TraceBar {
    double x;
    double low;
    double high;
};

struct DecimatedTrace {
    std::vector<TracePoint> points;
    std::vector<TraceBar> bars;
};

// The samples first..last (both included), left to right.
DecimatedTrace DecimateTrace(const host::AnalogChannel& channel, uint32_t first, uint32_t last,
                             const SampleScale& scale);

}  // namespace cvdr::plot

#endif
