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
    // trace's first scaling, or by its second where the digital channel
    // `selector` (complete; null: none) is high, unless the trace is not
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

    bool IsSampleValid(uint32_t index) override {
        return index < m_allValidCount || ShiftedValid(index);
    }
    double GetSampleValue(uint32_t index) override {
        if (index < m_directCount) return m_scales[0].Apply(m_direct[index]);
        return ShiftedValue(index);
    }
    const char* GetUnit() override { return m_unit.c_str(); }
    double GetMaxMagnitude() override { return m_maxMagnitude; }
    void SetSampleShift(int shift) override;

    bool HasInvalidRanges() override;
    RangeIterator GetRangesBegin() override;
    RangeIterator GetRangesEnd() override;

private:
    struct Run {
        uint32_t first;
        uint32_t end;
    };
    // Physical value = (raw + offset) x factor; a factor of 0 or NaN leaves
    // raw + offset. The default scale leaves the raw value.
    struct Scale {
        Scale() = default;
        explicit Scale(const record::Scaling& scaling);
        double Apply(double raw) const { return (raw + offset) * factor; }
        double offset = 0.0;
        double factor = 1.0;
    };

    // The stored sample that index `index` of the host addresses under the
    // sample shift; false when the shift moves it outside the channel.
    bool Unshift(uint32_t index, uint32_t& sample) const;
    double ShiftedValue(uint32_t index) const;
    bool ShiftedValid(uint32_t index) const;
    void UpdateFastPaths();
    double Value(uint32_t sample) const;
    static bool InRuns(const std::vector<Run>& runs, uint32_t sample);
    void FindSecondScaleRuns(DigitalChannelReader& selector);
    bool IsValid(uint32_t sample) const;
    void FindInvalidRuns();
    void MarkInvalid(uint64_t first, uint64_t end);
    void FindMaxMagnitude();
    // The first sample after `sample` where the scale in force changes, else the sample count.
    uint64_t NextScaleChange(uint32_t sample) const;
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
    uint32_t m_traceSamples;  // samples of the trace the channel shows
    uint32_t m_xOffset;
    Scale m_scales[2];                   // the second where m_secondScaleRuns say
    std::vector<Run> m_secondScaleRuns;  // where the second scale is in force
    std::vector<Run> m_invalid;          // runs of samples not valid, in order
    // Reads that need neither shift nor lookup: indexes below these counts.
    const int32_t* m_direct = nullptr;
    uint32_t m_directCount = 0;
    uint32_t m_allValidCount = 0;
};

#endif
