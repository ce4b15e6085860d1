// Round tick values for an axis: steps of 1, 2 or 5 times a power of ten.
#ifndef CVDR_PLOT_AXIS_TICKS_H
#define CVDR_PLOT_AXIS_TICKS_H

#include <string>
#include <vector>

namespace cvdr::plot {

struct Ticks {
    double step = 1.0;
    std::vector<double> values;  // within [low, high], rising
};

// At most about `maxCount` ticks over [low, high].
Ticks NiceTicks(double low, double high, int maxCount);

// A tick value with as many decimals as the step needs ("0.25", "-100", "1e+06").
std::string TickText(double value, double step);

}  // namespace cvdr::plot

#endif
