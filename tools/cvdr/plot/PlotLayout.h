// Where the parts of a plot go: the title band at the top, a gutter on the
// left for lane labels and value ticks, the lanes (sampled values first,
// then thinner step lanes), and the time axis at the bottom.
#ifndef CVDR_PLOT_PLOT_LAYOUT_H
#define CVDR_PLOT_PLOT_LAYOUT_H

#include <cstddef>
#include <vector>

#include "plot/PlotGeometry.h"

namespace cvdr::plot {

struct PlotLayout {
    Rect title;
    Rect lanes;  // all lanes together: the area the time axis spans
    Rect axis;
    std::vector<Rect> analog;
    std::vector<Rect> steps;
    double labelLeft = 0.0;       // x where lane labels start
    double labelWidth = 0.0;      // room for an analog lane's label before its value ticks
    double stepLabelWidth = 0.0;  // room for a step lane's label
};

// `labelRoom` is the width the widest lane label asks for; the gutter grows
// to it within limits (at most two fifths of the width).
PlotLayout LayOut(double width, double height, size_t analogCount, size_t stepCount, double labelRoom);

}  // namespace cvdr::plot

#endif
