// `cvdr plot --rms`: under each lane of sampled values a lane of the RMS
// magnitude of its channels' fundamental over time (the one-cycle phasor
// ending at every sample), so that fault inception and clearing read at a
// glance.
#ifndef CVDR_PLOT_FUNDAMENTAL_LANES_H
#define CVDR_PLOT_FUNDAMENTAL_LANES_H

#include "host/Record.h"
#include "plot/PlotContent.h"

namespace cvdr::plot {

// Appends to `record` one analog channel per analog channel the lanes draw:
// its fundamental magnitude (analysis::FundamentalMagnitudes, linear in the
// record), named "<name> fundamental", valid where a whole window of valid
// samples ends. Puts a lane of those after each analog lane of `content`.
void AddFundamentalLanes(host::Record& record, PlotContent& content, double frequency);

}  // namespace cvdr::plot

#endif
