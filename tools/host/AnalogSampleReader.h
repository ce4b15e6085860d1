// The analog samples of an open record, read block by block straight from
// its reader, for writers that walk a record from its first sample to its
// last without holding all its samples at once.
#ifndef DR_MVQ4_HOST_ANALOG_SAMPLE_READER_H
#define DR_MVQ4_HOST_ANALOG_SAMPLE_READER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "host/Record.h"

namespace host {

class AnalogSampleReader {
public:
    // `record` is what ReadRecord read from `reader` (its samples are not
    // needed); both must outlive this object. The channels are set to no
    // sample shift.
    AnalogSampleReader(DisturbanceDataReader& reader, const Record& record);
    // The same for `cut`, a record cut from what was read (CutRecord): its
    // analog channel i is the reader's analog channel channels[i], its sample
    // s the reader's sample s + firstSample.
    AnalogSampleReader(DisturbanceDataReader& reader, const Record& cut, const std::vector<size_t>& channels,
                       uint32_t firstSample);
    // An AnalogSampleReader of the same reader for `cut`, as above.
    AnalogSampleReader Cut(const Record& cut, const std::vector<size_t>& channels, uint32_t firstSample) const {
        return AnalogSampleReader(*m_reader, cut, channels, firstSample);
    }

    // Values and validity (1 valid) of samples first to first + count - 1 of
    // analog channel `channel`. Samples beyond the channel's own count are
    // invalid; the value of an invalid sample is 0.
    //
    // The validity is taken from the channel's ranges, which the interface
    // defines as its runs of valid and invalid samples, so that each valid
    // sample costs one call and an invalid one none; a channel whose ranges
    // do not start at sample 0 and rise is asked sample by sample instead.
    void Read(size_t channel, uint32_t first, uint32_t count, double* values, uint8_t* valid) const;

private:
    void ReadRun(AnalogChannelReader& channel, uint32_t first, uint32_t end, bool isValid, uint32_t offset,
                 double* values, uint8_t* valid) const;
    static std::vector<size_t> Every(const Record& record);

    DisturbanceDataReader* m_reader;
    std::vector<AnalogChannelReader*> m_channels;
    std::vector<bool> m_rangesUsable;
    const Record& m_record;
    uint32_t m_firstSample = 0;
};

}  // namespace host

#endif
