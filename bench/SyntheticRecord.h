// A record held in memory behind the host interfaces, of any size, for
// timing cvdr's exports and plot without the decoder: 50 Hz sines on the
// analog channels with an invalid stretch, digital channels that toggle, a
// logical channel that steps through a few states.
#ifndef DR_MVQ4_BENCH_SYNTHETIC_RECORD_H
#define DR_MVQ4_BENCH_SYNTHETIC_RECORD_H

#include <cstdint>
#include <memory>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace bench {

struct RecordShape {
    uint32_t samples = 1000000;
    int analog = 8;
    int digital = 8;
    int logical = 2;
    double interval = 0.1;  // ms
};

std::unique_ptr<DisturbanceDataReader> MakeSyntheticRecord(const RecordShape& shape);

}  // namespace bench

#endif
