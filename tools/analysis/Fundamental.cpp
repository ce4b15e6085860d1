#include "analysis/Fundamental.h"

#include <algorithm>
#include <cmath>

#include "host/TimeAxis.h"

namespace analysis {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The window's weights: sqrt(2) / N * e^(-j w t).
class CycleKernel {
public:
    CycleKernel(const host::Record& record, double frequency, uint32_t samples)
        : m_times(record.sampleTimes),
          m_omega(2.0 * kPi * frequency / 1000.0),
          m_scale(std::sqrt(2.0) / samples) {}

    Complex Weight(size_t sample) const {
        const double angle = m_omega * m_times[sample];
        return {m_scale * std::cos(angle), -m_scale * std::sin(angle)};
    }

private:
    const std::vector<double>& m_times;
    double m_omega;  // radians per ms
    double m_scale;
};

// How many samples have a value, a validity flag and a time to look at.
size_t UsableCount(const host::Record& record, const host::AnalogChannel& channel) {
    return std::min({channel.values.size(), channel.valid.size(), record.sampleTimes.size()});
}

bool Usable(const host::AnalogChannel& channel, size_t sample) {
    return channel.valid[sample] != 0 && std::isfinite(channel.values[sample]);
}

}  // namespace

Phasor PolarOf(Complex value) {
    double angle = std::arg(value) * 180.0 / kPi;
    if (angle <= -180.0) angle += 360.0;
    return {std::abs(value), angle};
}

uint32_t CycleSamples(const host::Record& record, double frequency) {
    if (!host::HasTimeAxis(record) || !(frequency > 0.0) || !std::isfinite(frequency)) return 0;
    const double perCycle = std::round(1000.0 / (record.sampleInterval * frequency));
    if (!(perCycle >= 3.0) || perCycle > record.sampleCount) return 0;
    return static_cast<uint32_t>(perCycle);
}

std::optional<Complex> FundamentalAt(const host::Record& record, size_t analogIndex, double atMs,
                                     double frequency) {
    const host::AnalogChannel& channel = record.analog.at(analogIndex);
    const uint32_t samples = CycleSamples(record, frequency);
    const std::vector<double>& times = record.sampleTimes;
    if (samples == 0 || !std::isfinite(atMs) || times.empty()) return std::nullopt;
    // A cycle ending beyond the record's last sample interval runs out of it.
    if (atMs >= times.back() + record.sampleInterval) return std::nullopt;
    // A time typed as "20" finds the sample the record places at 19.999999...
    const double tolerance = record.sampleInterval * 1e-6;
    const size_t end =
        static_cast<size_t>(std::upper_bound(times.begin(), times.end(), atMs + tolerance) - times.begin());
    if (end < samples || end > UsableCount(record, channel)) return std::nullopt;
    const CycleKernel kernel(record, frequency, samples);
    Complex sum = 0.0;
    for (size_t i = end - samples; i < end; ++i) {
        if (!Usable(channel, i)) return std::nullopt;
        sum += channel.values[i] * kernel.Weight(i);
    }
    return sum;
}

MagnitudeTrace FundamentalMagnitudes(const host::Record& record, size_t analogIndex, double frequency) {
    const host::AnalogChannel& channel = record.analog.at(analogIndex);
    MagnitudeTrace trace;
    trace.values.assign(record.sampleCount, 0.0);
    trace.valid.assign(record.sampleCount, 0);
    const uint32_t samples = CycleSamples(record, frequency);
    if (samples == 0) return trace;
    const CycleKernel kernel(record, frequency, samples);
    const size_t count = UsableCount(record, channel);
    // The sum slides one sample at a time while the window stays whole; it
    // is summed afresh when a window becomes whole again after an invalid
    // sample, and every kRefresh windows so that rounding cannot pile up.
    // A fresh sum costs one window and comes at most once per window of
    // samples, so the whole stays linear in the record. Each sample's term
    // is kept until it leaves the window, so it is worked out once.
    constexpr size_t kRefresh = 64;
    std::vector<Complex> terms(samples);  // sample k's at k % samples
    Complex sum = 0.0;
    size_t cleanFrom = 0;  // the first sample after the last unusable one
    bool sliding = false;  // `sum` holds the window ending at the sample before
    size_t sinceRefresh = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!Usable(channel, i)) {
            cleanFrom = i + 1;
            sliding = false;
            continue;
        }
        if (i + 1 < cleanFrom + samples) continue;  // the window reaches an unusable sample
        if (sliding && sinceRefresh < kRefresh * samples) {
            const Complex term = channel.values[i] * kernel.Weight(i);
            Complex& slot = terms[i % samples];  // the leaving sample's
            sum += term - slot;
            slot = term;
            ++sinceRefresh;
        } else {
            sum = 0.0;
            for (size_t k = i + 1 - samples; k <= i; ++k) {
                terms[k % samples] = channel.values[k] * kernel.Weight(k);
                sum += terms[k % samples];
            }
            sliding = true;
            sinceRefresh = 0;
        }
        trace.values[i] = std::sqrt(std::norm(sum));  // std::abs guards against overflow, slowly
        trace.valid[i] = 1;
    }
    return trace;
}

}  // namespace analysis
