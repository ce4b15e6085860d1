// Draws a record as a figure for print or screen: a title with the record's
// description and trigger time, one lane per analog channel (or per unit),
// step lanes for digital and logical channels, a shared time axis in ms
// relative to the trigger with the trigger marked.
#ifndef CVDR_PLOT_PLOT_RENDERER_H
#define CVDR_PLOT_PLOT_RENDERER_H

#include <optional>
#include <string>

#include "host/Record.h"
#include "plot/Canvas.h"
#include "plot/PlotContent.h"

namespace cvdr::plot {

struct PlotRequest {
    std::string output;
    ImageFormat format = ImageFormat::kPng;
    int width = 1200;  // pixels, or points for SVG and PDF
    int height = 800;
    ContentRequest content;
    std::string sourceName;  // file name shown under the title
    // Set: a lane of the fundamental's magnitude at this line frequency (Hz)
    // under each analog lane (FundamentalLanes.h).
    std::optional<double> fundamentalFrequency;
};

// Writes the image; returns what it shows. Throws std::runtime_error when a
// channel is unknown, the window holds no sample or the file cannot be
// written.
PlotContent RenderPlot(const host::Record& record, const PlotRequest& request);
// The same for a record the plot may take over: the fundamental lanes are
// added to it, not to a copy.
PlotContent RenderPlot(host::Record&& record, const PlotRequest& request);

}  // namespace cvdr::plot

#endif
