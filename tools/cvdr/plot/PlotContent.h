// What a plot shows: which channels in which lanes, and which stretch of
// time, chosen from the record and the plot command's options.
#ifndef CVDR_PLOT_PLOT_CONTENT_H
#define CVDR_PLOT_PLOT_CONTENT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/Record.h"

namespace cvdr::plot {

struct ContentRequest {
    std::vector<std::string> channels;  // empty: all, in record order
    std::optional<double> from;         // ms relative to the trigger
    std::optional<double> to;
    bool groupByUnit = false;
};

// One lane of sampled values: a single channel, or all channels of a unit.
struct AnalogLane {
    std::string label;  // channel name, or the unit of a group
    std::string unit;
    std::vector<size_t> channels;  // analog channel indexes, drawn in this order
};

// One lane of a digital or logical channel, drawn as steps.
struct StepLane {
    bool logical = false;
    size_t channel = 0;
    std::string label;
};

// Times are ms relative to the trigger; the samples from firstSample to
// lastSample (both included) lie in [from, to].
struct PlotContent {
    std::vector<AnalogLane> analog;
    std::vector<StepLane> steps;
    uint32_t firstSample = 0;
    uint32_t lastSample = 0;
    double from = 0.0;
    double to = 0.0;
};

// Channels are chosen by host::MatchChannels. Throws std::runtime_error
// for a name that names no channel and for a window that holds no sample.
PlotContent SelectContent(const host::Record& record, const ContentRequest& request);

}  // namespace cvdr::plot

#endif
