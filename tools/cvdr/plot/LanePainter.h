// Draws the lanes of a plot: sampled values as traces over a value grid,
// digital channels as high bars over a low line, logical channels as a bus
// with their state texts; invalid stretches shaded grey; labels in the
// gutter, each channel in its own colour.
#ifndef CVDR_PLOT_LANE_PAINTER_H
#define CVDR_PLOT_LANE_PAINTER_H

#include <cairo.h>

#include "host/Record.h"
#include "plot/PlotContent.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotLayout.h"

namespace cvdr::plot {

struct LaneContext {
    cairo_t* cr;
    const host::Record& record;
    const PlotContent& content;
    const SampleScale& scale;
    const PlotLayout& layout;
};

void DrawAnalogLane(const LaneContext& context, const AnalogLane& lane, const Rect& rect);
void DrawStepLane(const LaneContext& context, const StepLane& lane, const Rect& rect);

}  // namespace cvdr::plot

#endif
