#include "plot/AxisTicks.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace cvdr::plot {

namespace {

// The values k * step within [low, high].
std::vector<double> Multiples(double low, double high, double step) {
    std::vector<double> values;
    for (double k = std::ceil(low / step); k * step <= high + step * 1e-9; k += 1.0) {
        const double value = k * step;
        values.push_back(value == 0.0 ? 0.0 : value);  // no "-0"
    }
    return values;
}

// The next smaller step of the 1, 2, 5 series.
double SmallerStep(double step, double power) {
    const double factor = std::round(step / power);
    return factor == 1.0 ? power / 2 : factor == 2.0 ? power : 2 * power;
}

}  // namespace

Ticks NiceTicks(double low, double high, int maxCount) {
    Ticks ticks;
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) return ticks;
    const double rough = span / std::max(maxCount, 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        ticks.step = factor * power;
        if (ticks.step >= rough) break;
    }
    ticks.values = Multiples(low, high, ticks.step);
    if (ticks.values.size() < 2) {  // a short axis still gets two values to read its scale by
        ticks.step = SmallerStep(ticks.step, ticks.step >= 10 * power ? 10 * power : power);
        ticks.values = Multiples(low, high, ticks.step);
    }
    return ticks;
}

std::string TickText(double value, double step) {
    const double magnitude = std::max(std::fabs(value), step);
    if (magnitude >= 1e6 || step < 1e-4) return fmt::format("{:g}", value);
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    return fmt::format("{:.{}f}", value, decimals);
}

}  // namespace cvdr::plot
