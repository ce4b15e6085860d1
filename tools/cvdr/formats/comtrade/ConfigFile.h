// The configuration (.cfg) text: station, channels, sampling, time stamps
// and data type, one line each, every line ended by CR LF.
#ifndef CVDR_FORMATS_COMTRADE_CONFIG_FILE_H
#define CVDR_FORMATS_COMTRADE_CONFIG_FILE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/comtrade/ChannelPlan.h"
#include "formats/comtrade/ComtradeFormat.h"

namespace cvdr::comtrade {

// The texts of the configuration's fields, made fit for them, and a line for
// each text that had to change ("A3 channel id: "a,b" written as "a;b"").
struct ConfigFields {
    std::string station;
    std::string device;
    std::vector<std::string> analogIds;
    std::vector<std::string> analogUnits;
    std::vector<std::string> statusIds;
    std::vector<std::string> changes;
};

ConfigFields MakeConfigFields(const ChannelPlan& plan, std::string_view description, Revision revision);

// What the configuration says about time.
struct RecordTiming {
    int64_t firstSampleTime = 0;  // microseconds on the record's clock
    int64_t triggerTime = 0;
    double sampleRate = 0.0;  // samples per second; 0 when the interval is unusable
    int clockOffset = 0;      // seconds ahead of UTC
};

std::string ConfigText(const ChannelPlan& plan, const ConfigFields& fields, const RecordTiming& timing,
                       const ExportFormat& format);

// "dd/mm/yyyy,hh:mm:ss.ssssss" of microseconds since 1970-01-01 00:00.
std::string TimestampText(int64_t microseconds);

// Offset from UTC as a time code: "0", "+1", "-5h30".
std::string TimeCodeText(int seconds);

}  // namespace cvdr::comtrade

#endif
