// Which channels of a record the COMTRADE files hold and how: every analog
// channel, then every logical channel as an analog channel holding its state
// as a number, then every digital channel as a status channel.
#ifndef CVDR_FORMATS_COMTRADE_CHANNEL_PLAN_H
#define CVDR_FORMATS_COMTRADE_CHANNEL_PLAN_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/comtrade/ComtradeFormat.h"
#include "formats/comtrade/Scaling.h"
#include "host/AnalogSampleReader.h"
#include "host/Record.h"

namespace cvdr::comtrade {

struct AnalogColumn {
    bool logical = false;
    size_t channel = 0;  // index among the record's analog or logical channels
    std::string name;    // as in the record, made valid UTF-8
    std::string unit;
    ValueRange range;  // of the finite values written
    Scaling scaling;
    // For a logical channel whose state texts are not all numbers: the texts
    // in order of first appearance; a state is written as its index here.
    std::vector<std::string> stateCodes;
};

// Samples first to last, both included.
struct SampleRun {
    uint32_t first;
    uint32_t last;
};

struct StatusColumn {
    size_t channel = 0;  // index among the record's digital channels
    std::string name;
    std::vector<SampleRun> invalidRuns;  // written as 0
};

struct ChannelPlan {
    uint32_t sampleCount = 0;
    std::vector<AnalogColumn> analog;
    std::vector<StatusColumn> status;
};

// Reads every channel once to find value ranges, state texts and invalid
// runs; the scalings follow from the ranges and the data type.
ChannelPlan PlanChannels(const host::Record& record, const host::AnalogSampleReader& samples, DataType type);

// The value of a logical state as written: the number the text stands for,
// or its index among `stateCodes` when those are in use; none when invalid.
std::optional<double> LogicalStateValue(const AnalogColumn& column, const LogicalTransition* transition);

}  // namespace cvdr::comtrade

#endif
