#include "plot/PlotLayout.h"

#include <algorithm>
#include <cmath>

namespace cvdr::plot {
namespace {

constexpr double kMargin = 10.0;
constexpr double kTitleHeight = 50.0;
constexpr double kMinGutter = 120.0;
constexpr double kTickLabelWidth = 52.0;
constexpr double kLabelGap = 8.0;
constexpr double kAxisHeight = 46.0;
constexpr double kAnalogGap = 8.0;
constexpr double kStepGap = 3.0;
constexpr double kStepHeight = 22.0;

// Step lanes are thin; with analog lanes above they take at most a third,
// getting thinner (to a pixel) the more there are.
double StepHeight(double available, size_t analogCount, size_t stepCount) {
    if (stepCount == 0) return 0.0;
    const double share = analogCount == 0 ? available : available / 3.0;
    const double height = std::floor(share / static_cast<double>(stepCount)) - kStepGap;
    return std::max(std::min(height, kStepHeight), 1.0);
}

}  // namespace

PlotLayout LayOut(double width, double height, size_t analogCount, size_t stepCount, double labelRoom) {
    PlotLayout layout;
    layout.title = {kMargin, 0.0, width - 2 * kMargin, kTitleHeight};
    const double wanted =
        kMargin + std::ceil(labelRoom) + kLabelGap + (analogCount > 0 ? kTickLabelWidth : 0.0);
    const double left = std::max(kMinGutter, std::min(wanted, std::floor(width * 0.4)));
    const double plotWidth = std::max(width - left - 2 * kMargin, 10.0);
    const double top = kTitleHeight;
    const double available = std::max(height - top - kAxisHeight, 10.0);
    layout.lanes = {left, top, plotWidth, available};
    layout.axis = {left, top + available, plotWidth, kAxisHeight};
    layout.labelLeft = kMargin;
    layout.labelWidth = left - kMargin - kLabelGap - kTickLabelWidth;
    layout.stepLabelWidth = left - kMargin - kLabelGap;

    const double stepHeight = StepHeight(available, analogCount, stepCount);
    const double stepsTotal = static_cast<double>(stepCount) * (stepHeight + kStepGap);
    const double analogTotal = std::max(available - stepsTotal, 0.0);
    const double analogHeight =
        analogCount == 0 ? 0.0 : std::max(analogTotal / static_cast<double>(analogCount) - kAnalogGap, 4.0);
    double y = top;
    for (size_t i = 0; i < analogCount; ++i, y += analogHeight + kAnalogGap) {
        layout.analog.push_back({left, y, plotWidth, analogHeight});
    }
    for (size_t i = 0; i < stepCount; ++i, y += stepHeight + kStepGap) {
        layout.steps.push_back({left, y, plotWidth, stepHeight});
    }
    return layout;
}

}  // namespace cvdr::plot
