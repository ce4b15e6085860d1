// The fundamental of an analog channel at the line frequency: a full-cycle
// DFT over the samples of one cycle.
//
// The window holds N = round(sample rate / line frequency) samples and ends
// with the last sample at or before the time asked for. Each sample x_k at
// t_k ms from the trigger is weighed with e^(-j w t_k), so a phasor's angle
// is measured against a cosine of the line frequency whose peak falls on the
// trigger instant, whichever window it came from:
//
//     X = sqrt(2) / N * sum x_k e^(-j w t_k)
//
// which for A cos(w t + phi) sampled whole cycles at a time is exactly
// A / sqrt(2) at angle phi. When the sample rate is not a whole multiple of
// the line frequency the window spans N samples, a little more or less than
// a cycle, and the phasor carries a small error that swings with the angle.
#ifndef DR_MVQ4_ANALYSIS_FUNDAMENTAL_H
#define DR_MVQ4_ANALYSIS_FUNDAMENTAL_H

#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/Record.h"

namespace analysis {

using Complex = std::complex<double>;

// A phasor as an engineer reads it: RMS magnitude and angle in degrees,
// (-180, 180].
struct Phasor {
    double magnitude = 0.0;
    double angleDeg = 0.0;
};

Phasor PolarOf(Complex value);

// The window's length N in samples; 0 when the record has no time axis, the
// frequency is not positive and finite, or a cycle holds fewer than three
// samples.
uint32_t CycleSamples(const host::Record& record, double frequency);

// The fundamental of the cycle ending at `atMs` (ms relative to the
// trigger); none when the window does not lie wholly inside the record or
// holds an invalid or non-finite sample.
std::optional<Complex> FundamentalAt(const host::Record& record, size_t analogIndex, double atMs,
                                     double frequency);

// The RMS magnitude of the fundamental of the cycle ending at every sample,
// laid out as an analog channel's values and validity (1: a whole window of
// valid samples ends there). A sliding DFT: the cost is linear in the
// record, whatever the window's length.
struct MagnitudeTrace {
    std::vector<double> values;
    std::vector<uint8_t> valid;
};

MagnitudeTrace FundamentalMagnitudes(const host::Record& record, size_t analogIndex, double frequency);

}  // namespace analysis

#endif
