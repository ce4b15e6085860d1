// A whole record as plain arrays, read once through the host interfaces
// (RecordReader.h). Every value is what the plug-in reported; texts are its
// bytes, UTF-8 by the interface's contract but not checked. A Record owns
// all its data (see Plugin.h).
#ifndef DR_MVQ4_HOST_RECORD_H
#define DR_MVQ4_HOST_RECORD_H

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace host {

// A calendar time: the fields and milliseconds the plug-in filled in, and
// whether it reported the time at all (the fields may be set even when not).
struct ReportedTime {
    bool reported = false;
    tm fields{};
    double milliseconds = 0.0;
};

struct TimeZone {
    bool valid = false;
    int offset = 0;     // seconds ahead of UTC
    int dstOffset = 0;  // seconds of daylight saving on top
};

// What every channel kind has.
struct Channel {
    std::string name;
    uint32_t color = 0;  // COLORREF 0x00BBGGRR
    int id = 0;
    std::string key;
    uint32_t sampleCount = 0;  // the channel's own; samples beyond it are invalid
    double offset = 0.0;
    bool hasInvalidRanges = false;
    std::vector<RangeRecord> ranges;  // runs of valid and invalid samples
};

struct AnalogChannel : Channel {
    std::string unit;
    double maxMagnitude = 0.0;
    // One value and one validity flag (1 valid) per sample of the channel,
    // read with no sample shift; both empty when read without samples.
    std::vector<double> values;
    std::vector<uint8_t> valid;

    bool IsValid(uint32_t sample) const { return sample < valid.size() && valid[sample] != 0; }
};

// Digital and logical channels: the states from each transition's first
// sample on, in the plug-in's order.
template <typename Transition>
struct TransitionalChannel : Channel {
    std::vector<Transition> transitions;
};
using DigitalChannel = TransitionalChannel<DigitalTransition>;
using LogicalChannel = TransitionalChannel<LogicalTransition>;

struct Record {
    // The file metadata.
    std::string fileName;
    std::string description;
    std::string triggerTimeText;
    int defaultXOffset = 0;  // samples

    std::string language;
    uint32_t sampleCount = 0;
    uint32_t triggerSample = 0;
    double sampleInterval = 0.0;  // ms
    // The time axis: ms relative to the trigger of each of the sampleCount
    // samples.
    std::vector<double> sampleTimes;
    ReportedTime triggerTime;
    ReportedTime secondaryTime;
    TimeZone timeZone;

    // Each kind in the plug-in's index order.
    std::vector<AnalogChannel> analog;
    std::vector<DigitalChannel> digital;
    std::vector<LogicalChannel> logical;
};

}  // namespace host

#endif
