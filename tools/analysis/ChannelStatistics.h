// Extremes and true RMS of an analog channel over the whole record.
#ifndef DR_MVQ4_ANALYSIS_CHANNEL_STATISTICS_H
#define DR_MVQ4_ANALYSIS_CHANNEL_STATISTICS_H

#include <cstddef>
#include <optional>

#include "host/Record.h"

namespace analysis {

struct Peak {
    double value = 0.0;   // signed: the sample itself
    double timeMs = 0.0;  // relative to the trigger
};

// Over the valid samples with finite values only; every field is none when
// there is no such sample.
struct ChannelStatistics {
    size_t samples = 0;  // valid samples with finite values
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<Peak> peak;   // largest absolute value, the first one on a tie
    std::optional<double> rms;  // sqrt of the mean square
};

ChannelStatistics StatisticsOf(const host::Record& record, size_t analogIndex);

}  // namespace analysis

#endif
