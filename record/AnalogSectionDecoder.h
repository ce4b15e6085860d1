// Builds the analog traces of a record: one definition per "Analog" element
// of the analog header (name, unit, key, scalings, x offset), then the
// samples of each "Trace" decoded into its definition, with the gaps between
// data blocks marked invalid. Reserve channels are dropped unless the user
// shows them.
#ifndef DR_MVQ4_RECORD_ANALOG_SECTION_DECODER_H
#define DR_MVQ4_RECORD_ANALOG_SECTION_DECODER_H

#include <pugixml.hpp>

#include <string>

#include "record/DisturbanceRecord.h"

namespace record {

class AnalogSectionDecoder {
public:
    explicit AnalogSectionDecoder(DisturbanceRecord& record) : m_record(record) {}

    // False when the analog header or the traces are missing, or the samples
    // are over the load's budget.
    bool Load();

    // Appends the samples of one "values" text: pieces separated by blanks,
    // each a decimal integer; backspace, line feed and tab are removed first.
    static void AppendValues(const char* values, SampleStore& samples);

private:
    bool ReadDefinition(pugi::xml_node analog, pugi::xml_node traces);
    void ReadScaling(pugi::xml_node scale, AnalogTrace& trace);
    bool DecodeTrace(pugi::xml_node trace, AnalogTrace& definition);
    // The analog definition a Trace element belongs to; null when none.
    AnalogTrace* DefinitionOf(pugi::xml_node trace);
    bool SamplesFitBudget(pugi::xml_node traces);
    void RemoveDuplicateIds();
    void RemoveReserveChannels();

    DisturbanceRecord& m_record;
    pugi::xml_node m_header;
    size_t m_kept = 0;          // samples a trace keeps: the record's sample count
    size_t m_reserveLeft = 0;   // samples the record text could still hold
    bool m_overBudget = false;
};

}  // namespace record

#endif
