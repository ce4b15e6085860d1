#include "tools/support/ComtradeReader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace comtradetest {
namespace {

Fields Split(const std::string& line) {
    Fields fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.push_back("");
    return fields;
}

// Lines without their CR LF; a line end without CR is an error.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        if (end == start || text[end - 1] != '\r') throw std::runtime_error("line end without CR");
        lines.push_back(text.substr(start, end - 1 - start));
    }
    if (start != text.size()) throw std::runtime_error("last line without CR LF");
    return lines;
}

uint32_t LittleEndian(const std::string& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + i))) << (8 * i);
    return value;
}

size_t ValueWidth(const std::string& type) { return type == "BINARY" ? 2 : 4; }

std::optional<double> Scaled(const Config& config, size_t channel, const std::optional<int64_t>& raw) {
    return raw ? std::optional<double>(config.A(channel) * static_cast<double>(*raw) + config.B(channel)) : std::nullopt;
}

// The smallest integer of the width marks a missing value.
std::optional<int64_t> BinaryRaw(const std::string& type, uint32_t bits) {
    if (type == "BINARY") return bits == 0x8000 ? std::nullopt : std::optional<int64_t>(static_cast<int16_t>(bits));
    return bits == 0x80000000u ? std::nullopt : std::optional<int64_t>(static_cast<int32_t>(bits));
}

Sample BinarySample(const Config& config, const std::string& bytes, size_t at) {
    Sample sample;
    sample.number = LittleEndian(bytes, at, 4);
    const uint32_t timestamp = LittleEndian(bytes, at + 4, 4);
    if (timestamp != 0xFFFFFFFFu) sample.timestamp = timestamp;
    at += 8;
    const size_t width = ValueWidth(config.dataType);
    for (size_t i = 0; i < config.analogCount; ++i, at += width) {
        const uint32_t bits = LittleEndian(bytes, at, width);
        if (config.dataType == "FLOAT32") {
            float value;
            std::memcpy(&value, &bits, sizeof value);
            sample.raw.push_back(std::nullopt);
            sample.values.push_back(std::isnan(value) ? std::nullopt : std::optional<double>(value));
            continue;
        }
        sample.raw.push_back(BinaryRaw(config.dataType, bits));
        sample.values.push_back(Scaled(config, i, sample.raw.back()));
    }
    for (size_t i = 0; i < config.statusCount; ++i)
        sample.status.push_back((LittleEndian(bytes, at + 2 * (i / 16), 2) >> (i % 16)) & 1);
    return sample;
}

Sample AsciiSample(const Config& config, const std::string& line) {
    const Fields fields = Split(line);
    if (fields.size() != 2 + config.analogCount + config.statusCount)
        throw std::runtime_error("data line: " + line);
    Sample sample;
    sample.number = static_cast<uint32_t>(std::stoul(fields[0]));
    if (!fields[1].empty()) sample.timestamp = static_cast<uint32_t>(std::stoul(fields[1]));
    for (size_t i = 0; i < config.analogCount; ++i) {
        const int64_t raw = std::stoll(fields[2 + i]);
        sample.raw.push_back(raw == 99999 ? std::nullopt : std::optional<int64_t>(raw));
        sample.values.push_back(Scaled(config, i, sample.raw.back()));
    }
    for (size_t i = 0; i < config.statusCount; ++i)
        sample.status.push_back(std::stoi(fields[2 + config.analogCount + i]));
    return sample;
}

}  // namespace

Config ParseConfig(const std::string& text) {
    Config config;
    for (const std::string& line : CrLfLines(text)) config.lines.push_back(Split(line));
    const std::vector<Fields>& lines = config.lines;
    config.station = lines.at(0);
    const Fields& counts = lines.at(1);
    config.analogCount = std::stoul(counts.at(1));
    config.statusCount = std::stoul(counts.at(2));
    if (counts.at(1).back() != 'A' || counts.at(2).back() != 'D') throw std::runtime_error("channel counts");
    size_t at = 2;
    for (size_t i = 0; i < config.analogCount; ++i) config.analog.push_back(lines.at(at++));
    for (size_t i = 0; i < config.statusCount; ++i) config.status.push_back(lines.at(at++));
    config.frequency = std::stod(lines.at(at++).at(0));
    if (lines.at(at++).at(0) != "1") throw std::runtime_error("expected one sampling rate");
    config.sampleRate = std::stod(lines.at(at).at(0));
    config.endSample = static_cast<uint32_t>(std::stoul(lines.at(at++).at(1)));
    config.firstTime = lines.at(at).at(0) + "," + lines.at(at).at(1);
    config.triggerTime = lines.at(at + 1).at(0) + "," + lines.at(at + 1).at(1);
    at += 2;
    config.dataType = lines.at(at++).at(0);
    if (lines.at(at++).at(0) != "1") throw std::runtime_error("expected time multiplier 1");
    if (config.station.at(2) == "2013") {
        config.timeCodes = lines.at(at++);
        config.timeQuality = lines.at(at++);
    }
    if (at != lines.size()) throw std::runtime_error("lines after the configuration");
    return config;
}

std::vector<Sample> ReadData(const Config& config, const std::string& bytes) {
    std::vector<Sample> samples;
    if (config.dataType == "ASCII") {
        for (const std::string& line : CrLfLines(bytes)) samples.push_back(AsciiSample(config, line));
    } else {
    const size_t record =
        8 + config.analogCount * ValueWidth(config.dataType) + 2 * ((config.statusCount + 15) / 16);
    if (bytes.size() % record != 0) throw std::runtime_error("data file size is no whole number of records");
    for (size_t at = 0; at < bytes.size(); at += record) samples.push_back(BinarySample(config, bytes, at));
    }
    return samples;
}

Combined SplitCombined(const std::string& bytes) {
    const auto section = [&](const std::string& name, size_t from) {
        const size_t at = bytes.find("--- file type: " + name, from);
        if (at == std::string::npos) throw std::runtime_error("no " + name + " section");
        return at;
    };
    const size_t cfg = section("CFG ---\r\n", 0);
    const size_t inf = section("INF ---\r\n", cfg);
    const size_t hdr = section("HDR ---\r\n", inf);
    const size_t dat = section("DAT ", hdr);
    const size_t datEnd = bytes.find("\r\n", dat) + 2;
    Combined combined;
    combined.config = bytes.substr(cfg + 24, inf - cfg - 24);
    combined.header = bytes.substr(hdr + 24, dat - hdr - 24);
    combined.dataLine = bytes.substr(dat, datEnd - dat - 2);
    combined.data = bytes.substr(datEnd);
    if (inf + 24 != hdr) throw std::runtime_error("INF section not empty");
    return combined;
}

}  // namespace comtradetest
