// Shared geometry of a plot: rectangles in device units and the mapping
// from samples and times to horizontal positions.
#ifndef CVDR_PLOT_PLOT_GEOMETRY_H
#define CVDR_PLOT_PLOT_GEOMETRY_H

#include <cstdint>

namespace cvdr::plot {

struct Rect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double Right() const { return x + width; }
    double Bottom() const { return y + height; }
};

// Times in ms relative to the trigger onto the plot area's x range.
struct TimeScale {
    double from = 0.0;  // ms at the left edge
    double to = 1.0;    // ms at the right edge
    double left = 0.0;  // x of the left edge
    double width = 1.0;
    double X(double ms) const { return left + (ms - from) / (to - from) * width; }
};

// Sample numbers onto x: sample s lies at time firstTime + (s - first) * interval.
struct SampleScale {
    TimeScale time;
    uint32_t first = 0;
    double firstTime = 0.0;
    double interval = 1.0;
    double Time(uint32_t sample) const {
        return firstTime + (static_cast<double>(sample) - static_cast<double>(first)) * interval;
    }
    double X(uint32_t sample) const { return time.X(Time(sample)); }
};

}  // namespace cvdr::plot

#endif
