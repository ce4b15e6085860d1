// How the values of one analog column become data values: a value reads
// back as a * raw + b. For the integer data types a and b are chosen per
// channel so that the channel's finite values span the whole integer range
// [-limit, limit] without clipping; the largest error is then a / 2.
#ifndef CVDR_FORMATS_COMTRADE_SCALING_H
#define CVDR_FORMATS_COMTRADE_SCALING_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace cvdr::comtrade {

// Lowest and highest finite value seen; empty until one is added.
class ValueRange {
public:
    void Add(double value) {
        const uint8_t present = 1;
        AddPresent(&value, &present, 1);
    }
    // Adds values[i] where present[i] is not 0, without a branch per value.
    void AddPresent(const double* values, const uint8_t* present, size_t count) {
        double low = m_low, high = m_high;
        for (size_t i = 0; i < count; ++i) {
            const double value = values[i];
            const bool taken = (present[i] != 0) & std::isfinite(value);
            low = taken && value < low ? value : low;
            high = taken && value > high ? value : high;
        }
        m_low = low;
        m_high = high;
    }
    bool Empty() const { return m_low > m_high; }
    double Low() const { return m_low; }
    double High() const { return m_high; }

private:
    double m_low = std::numeric_limits<double>::infinity();
    double m_high = -std::numeric_limits<double>::infinity();
};

class Scaling {
public:
    // a = 1, b = 0: values are written as they are (FLOAT32).
    Scaling() = default;

    // Maps the range onto [-limit, limit]. A single value maps to raw 0 with
    // a = 1; an empty range gives a = 1, b = 0.
    static Scaling ForRange(const ValueRange& range, int64_t limit);

    double A() const { return m_a; }
    double B() const { return m_b; }
    int64_t Limit() const { return m_limit; }

    // The raw integer for a finite value, rounded half away from zero and
    // clamped to [-limit, limit]. Clamping before rounding gives the same
    // integer and keeps the conversion in range; the rounding is done
    // without a library call or a branch, for millions of values.
    int64_t Quantise(double value) const {
        const double bound = static_cast<double>(m_limit);
        const double raw = std::clamp((value - m_b) / m_a, -bound, bound);
        const int64_t truncated = static_cast<int64_t>(raw);
        const double fraction = raw - static_cast<double>(truncated);  // exact
        return truncated + static_cast<int64_t>(fraction >= 0.5) - static_cast<int64_t>(fraction <= -0.5);
    }

private:
    Scaling(double a, double b, int64_t limit) : m_a(a), m_b(b), m_limit(limit) {}

    double m_a = 1.0;
    double m_b = 0.0;
    int64_t m_limit = 0;
};

}  // namespace cvdr::comtrade

#endif
