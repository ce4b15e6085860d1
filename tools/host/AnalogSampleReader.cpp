#include "host/AnalogSampleReader.h"

#include <algorithm>

namespace host {
namespace {

bool RangesUsable(const std::vector<RangeRecord>& ranges) {
    if (ranges.empty() || ranges.front().firstSample != 0) return false;
    for (size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].firstSample <= ranges[i - 1].firstSample) return false;
    }
    return true;
}

}  // namespace

AnalogSampleReader::AnalogSampleReader(DisturbanceDataReader& reader, const Record& record)
    : AnalogSampleReader(reader, record, Every(record), 0) {}

AnalogSampleReader::AnalogSampleReader(DisturbanceDataReader& reader, const Record& cut,
                                       const std::vector<size_t>& channels, uint32_t firstSample)
    : m_reader(&reader), m_record(cut), m_firstSample(firstSample) {
    for (size_t i = 0; i < cut.analog.size(); ++i) {
        AnalogChannelReader* channel = reader.GetAnalogChannel(static_cast<int>(channels.at(i)));
        channel->SetSampleShift(0);
        m_channels.push_back(channel);
        m_rangesUsable.push_back(RangesUsable(cut.analog[i].ranges));
    }
}

std::vector<size_t> AnalogSampleReader::Every(const Record& record) {
    std::vector<size_t> channels(record.analog.size());
    for (size_t i = 0; i < channels.size(); ++i) channels[i] = i;
    return channels;
}

void AnalogSampleReader::ReadRun(AnalogChannelReader& channel, uint32_t first, uint32_t end, bool isValid,
                                 uint32_t offset, double* values, uint8_t* valid) const {
    if (!isValid) {
        std::fill(values + (first - offset), values + (end - offset), 0.0);
        std::fill(valid + (first - offset), valid + (end - offset), uint8_t{0});
        return;
    }
    for (uint32_t sample = first; sample < end; ++sample) {
        values[sample - offset] = channel.GetSampleValue(sample + m_firstSample);
    }
    std::fill(valid + (first - offset), valid + (end - offset), uint8_t{1});
}

void AnalogSampleReader::Read(size_t channel, uint32_t first, uint32_t count, double* values,
                              uint8_t* valid) const {
    AnalogChannelReader& reader = *m_channels[channel];
    const AnalogChannel& info = m_record.analog[channel];
    const uint32_t end = first + count;
    const uint32_t own = std::min(end, std::max(first, info.sampleCount));
    if (!m_rangesUsable[channel]) {
        for (uint32_t sample = first; sample < own; ++sample) {
            valid[sample - first] = reader.IsSampleValid(sample + m_firstSample) ? 1 : 0;
            values[sample - first] = valid[sample - first] ? reader.GetSampleValue(sample + m_firstSample) : 0.0;
        }
    } else {
        const std::vector<RangeRecord>& ranges = info.ranges;
        // The run in force at `first`: the last one starting at or before it.
        auto run = std::upper_bound(ranges.begin(), ranges.end(), first,
                                    [](uint32_t sample, const RangeRecord& range) { return sample < range.firstSample; });
        --run;
        for (uint32_t sample = first; sample < own; ++run) {
            const uint32_t runEnd = run + 1 == ranges.end() ? own : std::min(own, (run + 1)->firstSample);
            ReadRun(reader, sample, runEnd, run->valid, first, values, valid);
            sample = runEnd;
        }
    }
    std::fill(values + (own - first), values + count, 0.0);
    std::fill(valid + (own - first), valid + count, uint8_t{0});
}

}  // namespace host
