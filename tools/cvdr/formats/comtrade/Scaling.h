// How the values of one analog column become data values: a value reads
// back as a * raw + b. For the integer data types a and b are chosen per
// channel so that the channel's finite values span the whole integer range
// [-limit, limit] without clipping; the largest error is then a / 2.
#ifndef CVDR_FORMATS_COMTRADE_SCALING_H
#define CVDR_FORMATS_COMTRADE_SCALING_H

#include <cstdint>
#include <limits>

namespace cvdr::comtrade {

// Lowest and highest finite value seen; empty until one is added.
class ValueRange {
public:
    void Add(double value);
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

    // The raw integer for a finite value within the range, clamped to
    // [-limit, limit] against rounding at the ends.
    int64_t Quantise(double value) const;

private:
    Scaling(double a, double b, int64_t limit) : m_a(a), m_b(b), m_limit(limit) {}

    double m_a = 1.0;
    double m_b = 0.0;
    int64_t m_limit = 0;
};

}  // namespace cvdr::comtrade

#endif
