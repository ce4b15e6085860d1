#include "analysis/ChannelStatistics.h"

#include <algorithm>
#include <cmath>

namespace analysis {

ChannelStatistics StatisticsOf(const host::Record& record, size_t analogIndex) {
    const host::AnalogChannel& channel = record.analog.at(analogIndex);
    const size_t count = std::min({channel.values.size(), channel.valid.size(), record.sampleTimes.size()});
    ChannelStatistics statistics;
    double low = INFINITY;
    double high = -INFINITY;
    double squares = 0.0;
    size_t peakSample = 0;
    for (size_t i = 0; i < count; ++i) {
        const double value = channel.values[i];
        if (channel.valid[i] == 0 || !std::isfinite(value)) continue;
        if (statistics.samples == 0 || std::fabs(value) > std::fabs(channel.values[peakSample]))
            peakSample = i;
        ++statistics.samples;
        low = std::min(low, value);
        high = std::max(high, value);
        squares += value * value;
    }
    if (statistics.samples == 0) return statistics;
    statistics.minimum = low;
    statistics.maximum = high;
    statistics.peak = Peak{channel.values[peakSample], record.sampleTimes[peakSample]};
    statistics.rms = std::sqrt(squares / static_cast<double>(statistics.samples));
    return statistics;
}

}  // namespace analysis
