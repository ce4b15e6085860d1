#include "formats/comtrade/Scaling.h"

#include <algorithm>
#include <cmath>

namespace cvdr::comtrade {

Scaling Scaling::ForRange(const ValueRange& range, int64_t limit) {
    if (range.Empty() || limit <= 0) return Scaling(1.0, 0.0, limit);
    if (range.Low() == range.High()) return Scaling(1.0, range.Low(), limit);
    // Halves first: the difference of two large finite values can overflow.
    const double halfSpan = range.High() / 2 - range.Low() / 2;
    const double b = range.Low() / 2 + range.High() / 2;
    double a = halfSpan / static_cast<double>(limit);
    if (!(a > 0.0)) a = std::numeric_limits<double>::denorm_min();  // a span too small to divide
    return Scaling(a, b, limit);
}

}  // namespace cvdr::comtrade
