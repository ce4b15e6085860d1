// A two-state channel stored as transitions between low, high and invalid.
#ifndef DR_MVQ4_MODULE_REGULAR_DIGITAL_CHANNEL_H
#define DR_MVQ4_MODULE_REGULAR_DIGITAL_CHANNEL_H

#include <string>

#include "module/TransitionalChannelBase.h"

class RegularDigitalChannel : public TransitionalChannelBase<DigitalChannelReader, DigitalTransition> {
public:
    RegularDigitalChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color, int id,
                          const std::string& key, uint32_t sampleCount)
        : TransitionalChannelBase(reader, name, color, id, key), m_sampleCount(sampleCount) {}

    // Sets `count` (> 0) samples from `first` to one state. Samples arrive in
    // order from 0; any other first sample returns false and changes nothing.
    // A transition is appended when the state changes.
    bool SetSamples(uint32_t first, uint32_t count, bool high, bool invalid);

    uint32_t GetSampleCount() override { return m_sampleCount; }
    bool IsSampleInvalid(uint32_t sample) override;

private:
    uint32_t m_sampleCount;
    uint32_t m_currentState = kDigitalInvalid;
};

#endif
