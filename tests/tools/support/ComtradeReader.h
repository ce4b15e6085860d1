// A small COMTRADE reader of the tests' own, written from the file format
// and sharing no code with cvdr's writer: it reads what an outside tool
// would, so the export tests check the files rather than the writer's idea
// of them.
#ifndef DR_MVQ4_TESTS_TOOLS_SUPPORT_COMTRADE_READER_H
#define DR_MVQ4_TESTS_TOOLS_SUPPORT_COMTRADE_READER_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace comtradetest {

using Fields = std::vector<std::string>;

// The configuration, line by line split at commas, and its values.
struct Config {
    std::vector<Fields> lines;
    Fields station;
    size_t analogCount = 0;
    size_t statusCount = 0;
    std::vector<Fields> analog;  // 13 fields each
    std::vector<Fields> status;  // 5 fields each
    double frequency = 0.0;
    double sampleRate = 0.0;
    uint32_t endSample = 0;
    std::string firstTime;  // "dd/mm/yyyy,hh:mm:ss.ssssss"
    std::string triggerTime;
    std::string dataType;
    Fields timeCodes;    // 2013 only
    Fields timeQuality;  // 2013 only

    double A(size_t channel) const { return std::stod(analog[channel][5]); }
    double B(size_t channel) const { return std::stod(analog[channel][6]); }
};

// Throws std::runtime_error on anything it cannot read.
Config ParseConfig(const std::string& text);

struct Sample {
    uint32_t number = 0;
    std::optional<uint32_t> timestamp;
    std::vector<std::optional<int64_t>> raw;    // integer types; none: the missing value
    std::vector<std::optional<double>> values;  // a * raw + b, or the FLOAT32 value; none: missing
    std::vector<int> status;
};

std::vector<Sample> ReadData(const Config& config, const std::string& bytes);

// The sections of a combined file.
struct Combined {
    std::string config;
    std::string header;
    std::string data;
    std::string dataLine;  // the DAT section line
};

Combined SplitCombined(const std::string& bytes);

}  // namespace comtradetest

#endif
