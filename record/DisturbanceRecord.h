// The decoded record of one load: the parsed record XML and the tables built
// from it (analog traces, digital definitions, events, state image, digital
// and logical traces), plus the channel texts of the device model. Created
// empty by the load, filled by Open, the device model and the header and
// section steps, read by the assembly, discarded when the load returns.
//
// Every getter returns false when its value is missing and writes its output
// only on success; the caller initialises the output.
//
// The record text, the sample stores and the large texts are reserved in the
// load's budget before they are allocated; a record over the budget fails to
// load (the budget then tells Refused()).
#ifndef DR_MVQ4_RECORD_DISTURBANCE_RECORD_H
#define DR_MVQ4_RECORD_DISTURBANCE_RECORD_H

#include <pugixml.hpp>

#include <cstdint>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "container/RecordContainer.h"
#include "devicemodel/ExtendedSettingsSet.h"
#include "devicemodel/ChannelTextTable.h"
#include "platform/LoadBudget.h"
#include "record/RecordTypes.h"

namespace record {

// Largest number of samples a record may declare (2^26, over 18 hours at
// 1 kHz). A larger count is taken as damage: it would make the viewer
// allocate gigabytes per channel, whatever the decoder's own budget allows.
constexpr int64_t kMaxSampleCount = int64_t{1} << 26;

// The values the header step hands to the loaded record.
struct HeaderValues {
    uint32_t sampleCount = 0;
    double sampleInterval = 0.0;
    bool timeZoneValid = false;
    int32_t timeZoneOffset = 0;
    int32_t dstOffset = 0;
    std::tm triggerTime{};
    double triggerMilliseconds = 0.0;
    std::wstring description;
    std::wstring triggerTimeText;
    int32_t defaultXOffset = 0;
};

class DisturbanceRecord {
public:
    // Within a default budget of the object's own, or the load's.
    DisturbanceRecord() : m_budget(m_ownBudget) {}
    explicit DisturbanceRecord(platform::LoadBudget& budget) : m_budget(budget) {}
    DisturbanceRecord(const DisturbanceRecord&) = delete;
    DisturbanceRecord& operator=(const DisturbanceRecord&) = delete;

    // Reads the record text of a plain file or a container and parses it.
    // `container` is the load's container object (with the same budget),
    // which goes on to serve the device model of a container record.
    bool Open(const std::wstring& path, container::RecordContainer& container);
    bool Open(const std::wstring& path);
    platform::LoadBudget& Budget() { return m_budget; }
    // Parses `text` as the record XML; true when the document has an element.
    bool OpenText(std::string text);
    pugi::xml_node Root() const { return m_document.document_element(); }
    // Bytes of the record text.
    size_t TextSize() const { return m_text.size(); }
    // Frees the document and its text once everything is read from them;
    // the getters fail from then on.
    void ReleaseDocument() {
        m_document.reset();
        std::string().swap(m_text);
        m_budget.Release(m_documentBytes);
        m_documentBytes = 0;
    }

    // UTF-8 text; of a longer text only the first `maxBytes` bytes.
    bool GetDeviceName(std::wstring& name, size_t maxBytes = std::numeric_limits<size_t>::max()) const;
    bool GetDeviceVersion(std::wstring& version) const;  // ANSI text
    bool GetSampleDuration(double& duration) const;      // x 1000
    bool GetTimeAdjust1(int64_t& value) const;
    bool GetTimeAdjust2(int64_t& value) const;
    bool GetTimeCount(int64_t& value) const;
    bool GetTimeOffset(int64_t& value) const;
    bool GetTimeSample(int64_t& value) const;
    bool GetTimezoneOffset(int32_t& value) const;
    bool GetDstOffset(int32_t& value) const;
    bool GetLostEventCount(int32_t& value) const;
    bool GetXOffsetDefaultSamples(int32_t& value) const;
    bool GetFirstSampleNumber(int64_t& value) const;
    bool GetSampleCount(int32_t& value) const;
    // The trigger time as text; `calendar` receives its fields.
    bool GetTriggerTimeText(std::wstring& text, struct CalendarTime* calendar = nullptr) const;
    // Samples between the first recorded sample and the trigger.
    bool GetTriggerSampleOffset(int64_t& offset) const;

    // The header step: sample count, analog section, sample interval, trigger
    // time, time zone, description, default x offset, calendar fields.
    bool ReadHeader(HeaderValues& header);
    bool LoadAnalogSection();
    bool LoadDigitalSection();
    // Names the record's channels from a device model and its language texts:
    // fills the text table. False only when the model could not be taken in.
    bool ApplyDeviceModel(const std::string& modelText, const std::string& languageText,
                          const devicemodel::ExtendedSettingsSet& settings, bool displayAnsiDeviceNumbers);

    devicemodel::ChannelTextTable& TextTable() { return m_textTable; }
    const devicemodel::ChannelTextTable& TextTable() const { return m_textTable; }

    std::vector<AnalogTrace>& AnalogTraces() { return m_analogTraces; }
    std::vector<DigitalTrace>& DigitalTraces() { return m_digitalTraces; }
    std::vector<LogicalTrace>& LogicalTraces() { return m_logicalTraces; }
    const std::vector<EventSet>& EventSets() const { return m_eventSets; }
    std::vector<EventSet>& EventSets() { return m_eventSets; }
    std::vector<DigitalDefinition>& DigitalDefinitions() { return m_digitalDefinitions; }
    std::vector<StateImageEntry>& StateImage() { return m_stateImage; }
    std::vector<SignalHistory>& OneBitHistories() { return m_oneBitHistories; }
    std::vector<SignalHistory>& MultiBitHistories() { return m_multiBitHistories; }
    std::vector<std::string>& DigitalNames() { return m_digitalNames; }
    size_t AnalogSampleCount() const { return m_analogSampleCount; }
    void SetAnalogSampleCount(size_t count) { m_analogSampleCount = count; }

private:
    // An integer attribute at `path`; with `nonZero`, 0 counts as missing.
    bool GetInt64(std::initializer_list<const char*> path, const char* attribute, bool nonZero, int64_t& value) const;
    bool GetInt32(std::initializer_list<const char*> path, const char* attribute, bool nonZero, int32_t& value) const;

    platform::LoadBudget m_ownBudget;  // when no budget is handed in
    platform::LoadBudget& m_budget;
    std::string m_text;
    pugi::xml_document m_document;
    uint64_t m_documentBytes = 0;  // reserved in the budget for the document tree
    devicemodel::ChannelTextTable m_textTable;
    std::vector<AnalogTrace> m_analogTraces;
    size_t m_analogSampleCount = 0;
    std::vector<EventSet> m_eventSets;
    std::vector<DigitalDefinition> m_digitalDefinitions;
    std::vector<StateImageEntry> m_stateImage;
    std::vector<SignalHistory> m_oneBitHistories;
    std::vector<SignalHistory> m_multiBitHistories;
    std::vector<DigitalTrace> m_digitalTraces;
    std::vector<LogicalTrace> m_logicalTraces;
    std::vector<std::string> m_digitalNames;
};

}  // namespace record

#endif
