// An analog channel: the raw samples of its trace, scaled when read, at the
// record's common sample rate; its own runs of valid samples, and a sample
// shift that the host may set to move the channel against the time axis.
#ifndef DR_MVQ4_MODULE_STATIC_SAMPLE_RATE_ANALOG_CHANNEL_H
#define DR_MVQ4_MODULE_STATIC_SAMPLE_RATE_ANALOG_CHANNEL_H

#include <memory>
#include <string>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/ChannelMetadataContainer.h"
#include "module/RangeList.h"
#include "record/RecordTypes.h"

class StaticSampleRateAnalogChannel : public AnalogChannelReader, public RangeMarker {
public:
    // Takes over the trace's samples. Sample s of the channel is the trace's
    // sample s - padding - x offset (with the x offset when the trace enables
    // it, in 32-bit unsigned arithmetic): not valid before the trace's first
    // sample, valid and 0 from `sampleCount` on. Values are scaled by the
    // trace's first scaling, or by its second where `selector` (not owned,
    // outliving the channel; null: none) is high, unless the trace is not
    // scaled. The trace must hold sampleCount - padding samples.
    StaticSampleRateAnalogChannel(DisturbanceDataReader* reader, record::AnalogTrace&& trace, uint32_t color,
                                  uint32_t sampleCount, uint32_t padding, DigitalChannelReader* selector);

    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return m_metadata.get(); }
    RangeMarker* GetRangeMarker() override { return this; }
    uint32_t GetSampleCount() override { return m_sampleCount; }
    double GetOffset() override { return 0.0; }
    int GetId() override { return m_id; }
    const char* GetKey() override { return m_key.c_str(); }

    bool IsSampleValid(uint32_t index) override;
    double GetSampleValue(uint32_t index) override;
    const char* GetUnit() override { return m_unit.c_str(); }
    double GetMaxMagnitude() override { return m_maxMagnitude; }
    void SetSampleShift(int shift) override { m_sampleShift = shift; }

    bool HasInvalidRanges() override;
    RangeIterator GetRangesBegin() override;
    RangeIterator GetRangesEnd() override;

private:
    struct Run {
        uint32_t first;
        uint32_t end;
    };

    // The stored sample that index `index` of the host addresses under the
    // sample shift; false when the shift moves it outside the channel.
    bool Unshift(uint32_t index, uint32_t& sample) const;
    double Value(uint32_t sample);
    bool IsValid(uint32_t sample) const;
    void FindInvalidRuns();
    void MarkInvalid(uint64_t first, uint64_t end);
    void FindMaxMagnitude();
    void BuildRanges();

    std::unique_ptr<ChannelMetadataContainer> m_metadata;
    DisturbanceDataReader* m_reader;  // not owned
    double m_maxMagnitude = 0.0;
    int32_t m_sampleShift = 0;
    std::string m_unit;
    int32_t m_id;
    std::string m_key;
    RangeList m_ranges;
    record::SampleStore m_samples;
    uint32_t m_sampleCount;
    uint32_t m_padding;
    uint32_t m_xOffset;
    std::vector<record::Scaling> m_scalings;  // empty: values unscaled
    DigitalChannelReader* m_selector;         // not owned
    std::vector<Run> m_invalid;               // runs of samples not valid, in order
};

#endif
