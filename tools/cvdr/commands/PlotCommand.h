// cvdr plot: one record drawn as a PNG, SVG or PDF figure.
#ifndef CVDR_COMMANDS_PLOT_COMMAND_H
#define CVDR_COMMANDS_PLOT_COMMAND_H

#include <optional>
#include <string>
#include <vector>

#include "RecordSession.h"

namespace cvdr {

struct PlotCommandRequest {
    RecordRequest record;
    std::string output;
    std::vector<std::string> channels;
    std::optional<double> from;
    std::optional<double> to;
    std::string size = "1200x800";
    bool groupByUnit = false;
    std::optional<double> rmsFrequency;  // set: --rms, at this line frequency
};

// Returns the exit status; on success one line on standard output tells
// what the figure shows.
int RunPlot(const PlotCommandRequest& request);

// "WxH" with both from 100 to 20000.
bool ParseSize(const std::string& text, int& width, int& height);

}  // namespace cvdr

#endif
