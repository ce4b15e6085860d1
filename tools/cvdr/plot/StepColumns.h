// Digital and logical channels reduced to what each pixel column of a step
// lane shows: which levels occur in the column, whether the channel is
// invalid somewhere in it and whether it changes state there. Drawing then
// costs one rectangle per run of equal columns, however many transitions
// the channel has.
#ifndef CVDR_PLOT_STEP_COLUMNS_H
#define CVDR_PLOT_STEP_COLUMNS_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/Record.h"
#include "plot/PlotGeometry.h"

namespace cvdr::plot {

enum StepMark : uint8_t {
    kStepHigh = 1,  // digital high, or a valid logical state
    kStepLow = 2,   // digital low
    kStepInvalid = 4,
    kStepChange = 8,  // a state begins in the column
};

// A state that lasts long enough to carry its text in the lane.
struct StepLabel {
    double left;
    double right;
    std::string text;
};

struct StepColumns {
    int64_t firstColumn = 0;     // pixel column of marks[0]
    std::vector<uint8_t> marks;  // StepMark bits per column
    std::vector<StepLabel> labels;
};

// Columns of the samples first..last (both included). Labels are kept for
// logical states at least `minLabelWidth` wide.
StepColumns DigitalColumns(const host::DigitalChannel& channel, uint32_t first, uint32_t last,
                           const SampleScale& scale);
StepColumns LogicalColumns(const host::LogicalChannel& channel, uint32_t first, uint32_t last,
                           const SampleScale& scale, double minLabelWidth);

}  // namespace cvdr::plot

#endif
