// A multi-valued channel stored as transitions between state texts; the
// empty text is the invalid (unknown) state.
#ifndef DR_MVQ4_MODULE_TRANSITIONAL_STORED_LOGICAL_CHANNEL_H
#define DR_MVQ4_MODULE_TRANSITIONAL_STORED_LOGICAL_CHANNEL_H

#include <memory>
#include <string>
#include <string_view>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/ChannelMetadataContainer.h"
#include "module/SeparatedRangeStorage.h"
#include "module/TransitionList.h"

class TransitionalStoredLogicalChannel : public LogicalChannelReader {
public:
    TransitionalStoredLogicalChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color, int id,
                                     const std::string& key);

    // Samples arrive in order from 0; any other index returns false. The text
    // "-1" stands for the unknown state and is stored as the empty text.
    bool SetSample(uint32_t index, std::string_view text);

    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return m_metadata.get(); }
    RangeMarker* GetRangeMarker() override { return m_ranges.get(); }
    uint32_t GetSampleCount() override { return m_reader->GetSampleCount(); }
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
    std::unique_ptr<SeparatedRangeStorage<LogicalTransition>> m_ranges;
    int32_t m_lastSample = -1;
    std::string m_currentText;
    TransitionList<LogicalTransition> m_transitions;
    int32_t m_id;
    std::string m_key;
};

#endif
