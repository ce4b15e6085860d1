// Tables of the decoded record: analog traces with their scalings, digital
// definitions, events and the digital and logical traces built from them.
#ifndef DR_MVQ4_RECORD_RECORD_TYPES_H
#define DR_MVQ4_RECORD_RECORD_TYPES_H

#include <cstdint>
#include <string>
#include <vector>

#include "record/SampleStore.h"

namespace record {

// Physical value = (raw + offset) x factor; a factor of 0 leaves raw + offset.
struct Scaling {
    double factor = 0.0;
    int32_t offset = 0;
    // On the second scaling of a channel: id of the digital channel whose
    // high state selects this scaling instead of the first.
    int32_t refEnable = 0;
};

struct AnalogTrace {
    std::string name;
    std::string shortKey;
    std::string key;
    std::string unit;
    int32_t id = 0;
    bool scale = true;
    SampleStore samples;
    std::vector<Scaling> scalings;
    bool xOffsetEnabled = false;
    int32_t xOffset = 0;
};

struct Event {
    int32_t id = 0;
    int32_t no = 0;
    int32_t value = 0;
    int32_t previousValue = 0;
    std::string key;
};

struct EventSet {
    int64_t timeSample = 0;
    std::vector<Event> events;
};

struct DigitalDefinition {
    std::string name;
    int32_t id = 0;
    std::string key;
    int32_t dataLength = 0;  // 0: one bit
    int32_t normalState = 0;
    int32_t startState = 0;
};

struct StateImageEntry {
    std::string idText;
    int32_t id = 0;
    int32_t value = 0;
};

struct Transition {
    int64_t sample = 0;
    int32_t no = 0;
    int32_t value = 0;
    int32_t previousValue = 0;
};

struct SignalHistory {
    DigitalDefinition definition;
    std::vector<Transition> transitions;
};

// A stretch of `length` samples in one state.
struct StateRun {
    int32_t value = 0;
    uint64_t length = 0;
};

// The state a digital or logical trace gives samples it knows nothing about.
constexpr int32_t kUnknownState = -1;

// Total number of samples of `runs`.
uint64_t RunLength(const std::vector<StateRun>& runs);

// One-bit signal: runs of 1 (high), 0 (low) and kUnknownState.
struct DigitalTrace {
    std::string name;
    std::vector<StateRun> runs;
    int32_t id = 0;
    std::string key;
};

// Multi-bit signal: runs of its values; kUnknownState is unknown.
struct LogicalTrace {
    int32_t id = 0;
    std::string name;
    std::string key;
    std::vector<StateRun> runs;
};

}  // namespace record

#endif
