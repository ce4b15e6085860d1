// A two-state channel stored as transitions between low, high and invalid.
#ifndef DR_MVQ4_MODULE_REGULAR_DIGITAL_CHANNEL_H
#define DR_MVQ4_MODULE_REGULAR_DIGITAL_CHANNEL_H

#include <memory>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/ChannelMetadataContainer.h"
#include "module/SeparatedRangeStorage.h"
#include "module/TransitionList.h"

class RegularDigitalChannel : public DigitalChannelReader {
public:
    RegularDigitalChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color, int id,
                          const std::string& key, uint32_t sampleCount);

    // Samples arrive in order from 0; any other index returns false and
    // changes nothing. A transition is appended when the state changes.
    bool SetSample(uint32_t index, bool high, bool invalid);

    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return m_metadata.get(); }
    RangeMarker* GetRangeMarker() override { return m_ranges.get(); }
    uint32_t GetSampleCount() override { return m_sampleCount; }
    double GetOffset() override { return 0.0; }
    int GetId() override { return m_id; }
    const char* GetKey() override { return m_key.c_str(); }

    int GetTransitionCount() override { return m_transitions.Count(); }
    uint32_t GetTransitionSample(int index) override { return m_transitions.At(index).firstSample; }
    bool IsSampleInvalid(uint32_t sample) override;
    Iterator GetTransitionsBegin() override { return m_transitions.Begin(); }
    Iterator GetTransitionsEnd() override { return m_transitions.End(); }
    Iterator FindTransition(uint32_t sample) override { return m_transitions.Find(sample); }

private:
    std::unique_ptr<ChannelMetadataContainer> m_metadata;
    DisturbanceDataReader* m_reader;  // not owned
    uint32_t m_sampleCount;
    std::unique_ptr<SeparatedRangeStorage<DigitalTransition>> m_ranges;
    int32_t m_id;
    std::string m_key;
    TransitionList<DigitalTransition> m_transitions;
    int32_t m_lastSample = -1;
    uint32_t m_currentState = kDigitalInvalid;
};

#endif
