// Rebuilds the digital signals of a record as per-sample traces. The record
// lists the signals ("Digital" elements), their state at the start of the
// record (the state image) and every change as an event stamped with a
// sample number. Each signal becomes runs of equal states over the record's
// samples (one-bit signals 0 or 1, multi-bit signals their values); signals
// without any change become constant traces of their start state.
#ifndef DR_MVQ4_RECORD_DIGITAL_SECTION_DECODER_H
#define DR_MVQ4_RECORD_DIGITAL_SECTION_DECODER_H

#include "record/DisturbanceRecord.h"

namespace record {

class DigitalSectionDecoder {
public:
    explicit DigitalSectionDecoder(DisturbanceRecord& record) : m_record(record) {}

    // False when the events, the digital header or the state image are
    // missing, when a signal or state-image entry lacks a required value, or
    // when no trace length can be found.
    bool Load();

private:
    bool ReadEvents();
    bool ReadDefinitions();
    bool ReadStateImage();
    void NameDefinitions();
    void GroupEvents();
    bool FilterTransitions();
    void BuildOneBitTraces();
    void BuildMultiBitTraces();
    bool AddConstantTraces();
    void ReadDigitalNames();
    std::string LookupName(const std::string& lookupKey, const std::string& key) const;

    DisturbanceRecord& m_record;
    int64_t m_sampleCount = 0;
};

}  // namespace record

#endif
