// What digital and logical channels share: metadata, range storage, id, key
// and the transition list with the slots that read it. The channel classes
// add how samples become transitions and what counts as invalid.
#ifndef DR_MVQ4_MODULE_TRANSITIONAL_CHANNEL_BASE_H
#define DR_MVQ4_MODULE_TRANSITIONAL_CHANNEL_BASE_H

#include <memory>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/ChannelMetadataContainer.h"
#include "module/SeparatedRangeStorage.h"
#include "module/TransitionList.h"

template <typename Interface, typename Transition>
class TransitionalChannelBase : public Interface {
public:
    using Iterator = RecordIterator<Transition>;

    TransitionalChannelBase(DisturbanceDataReader* reader, const std::string& name, uint32_t color, int id,
                            const std::string& key)
        : m_metadata(new ChannelMetadataContainer(name, color)),
          m_reader(reader),
          m_ranges(new SeparatedRangeStorage<Transition>(this)),
          m_id(id),
          m_key(key) {}
    TransitionalChannelBase(const TransitionalChannelBase&) = delete;
    TransitionalChannelBase& operator=(const TransitionalChannelBase&) = delete;

    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return m_metadata.get(); }
    RangeMarker* GetRangeMarker() override { return m_ranges.get(); }
    double GetOffset() override { return 0.0; }
    int GetId() override { return m_id; }
    const char* GetKey() override { return m_key.c_str(); }

    int GetTransitionCount() override { return m_transitions.Count(); }
    uint32_t GetTransitionSample(int index) override { return m_transitions.At(index).firstSample; }
    Iterator GetTransitionsBegin() override { return m_transitions.Begin(); }
    Iterator GetTransitionsEnd() override { return m_transitions.End(); }
    Iterator FindTransition(uint32_t sample) override { return m_transitions.Find(sample); }

protected:
    // Whether `first` is the next sample in order (samples arrive from 0 on);
    // records the last of the `count` samples from it when it is.
    bool TakeNextSamples(uint32_t first, uint32_t count) {
        if (static_cast<int64_t>(first) != m_lastSample + 1) return false;
        m_lastSample = static_cast<int64_t>(first) + count - 1;
        return true;
    }
    DisturbanceDataReader* Reader() const { return m_reader; }

    TransitionList<Transition> m_transitions;

private:
    std::unique_ptr<ChannelMetadataContainer> m_metadata;
    DisturbanceDataReader* m_reader;  // not owned
    std::unique_ptr<SeparatedRangeStorage<Transition>> m_ranges;
    int32_t m_id;
    std::string m_key;
    int64_t m_lastSample = -1;
};

#endif
