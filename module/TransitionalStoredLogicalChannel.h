// A multi-valued channel stored as transitions between state texts; the
// empty text is the invalid (unknown) state. It has no sample count of its
// own: it reports the loaded record's.
#ifndef DR_MVQ4_MODULE_TRANSITIONAL_STORED_LOGICAL_CHANNEL_H
#define DR_MVQ4_MODULE_TRANSITIONAL_STORED_LOGICAL_CHANNEL_H

#include <string>
#include <string_view>

#include "module/TransitionalChannelBase.h"

class TransitionalStoredLogicalChannel : public TransitionalChannelBase<LogicalChannelReader, LogicalTransition> {
public:
    TransitionalStoredLogicalChannel(DisturbanceDataReader* reader, const std::string& name, uint32_t color, int id,
                                     const std::string& key)
        : TransitionalChannelBase(reader, name, color, id, key) {}

    // Sets `count` (> 0) samples from `first` to the state `text`. Samples
    // arrive in order from 0; any other first sample returns false. The text
    // "-1" stands for the unknown state and is stored as the empty text.
    bool SetSamples(uint32_t first, uint32_t count, std::string_view text);

    uint32_t GetSampleCount() override { return Reader()->GetSampleCount(); }
    bool IsSampleInvalid(uint32_t sample) override;

private:
    std::string m_currentText;
};

#endif
