// An analog channel: one value and valid flag per sample at the record's
// common sample rate, its own runs of valid samples, and a sample shift that
// the host may set to move the channel against the time axis.
#ifndef DR_MVQ4_MODULE_STATIC_SAMPLE_RATE_ANALOG_CHANNEL_H
#define DR_MVQ4_MODULE_STATIC_SAMPLE_RATE_ANALOG_CHANNEL_H

#include <memory>
#include <string>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/ChannelMetadataContainer.h"
#include "module/RangeList.h"

class StaticSampleRateAnalogChannel : public AnalogChannelReader, public RangeMarker {
public:
    // The sample vector is sized to `sampleCount` here, every sample 0.0 and
    // not valid, and never grows afterwards.
    StaticSampleRateAnalogChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color,
                                  const std::string& unit, const std::string& key, int id, uint32_t sampleCount);

    // Stores sample `index`; false (nothing changed) beyond the sample count.
    bool SetSample(uint32_t index, double value, bool valid);

    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return m_metadata.get(); }
    RangeMarker* GetRangeMarker() override { return this; }
    uint32_t GetSampleCount() override { return static_cast<uint32_t>(m_samples.size()); }
    double GetOffset() override { return 0.0; }
    int GetId() override { return m_id; }
    const char* GetKey() override { return m_key.c_str(); }

    bool IsSampleValid(uint32_t index) override { return SampleAt(index).valid; }
    double GetSampleValue(uint32_t index) override { return SampleAt(index).value; }
    const char* GetUnit() override { return m_unit.c_str(); }
    double GetMaxMagnitude() override { return m_maxMagnitude; }
    void SetSampleShift(int shift) override { m_sampleShift = shift; }

    bool HasInvalidRanges() override;
    RangeIterator GetRangesBegin() override;
    RangeIterator GetRangesEnd() override;

private:
    struct Sample {
        double value;
        bool valid;
    };

    const Sample& SampleAt(uint32_t index) const;
    void BuildRanges();

    std::unique_ptr<ChannelMetadataContainer> m_metadata;
    DisturbanceDataReader* m_reader;  // not owned
    double m_maxMagnitude = 0.0;
    int32_t m_sampleShift = 0;
    std::string m_unit;
    int32_t m_id;
    std::string m_key;
    RangeList m_ranges;
    std::vector<Sample> m_samples;
};

#endif
