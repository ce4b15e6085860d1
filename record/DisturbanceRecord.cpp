#include "record/DisturbanceRecord.h"

#include <utility>

#include "container/RecordContainer.h"
#include "devicemodel/DeviceModelContext.h"
#include "platform/TextConversion.h"
#include "platform/NumberParsing.h"
#include "record/TriggerTime.h"
#include "record/XmlAccess.h"

namespace record {

bool DisturbanceRecord::Open(const std::wstring& path, container::RecordContainer& container) {
    std::string text;
    if (!container.LoadRecordText(path, text)) return false;
    return OpenText(std::move(text));
}

bool DisturbanceRecord::Open(const std::wstring& path) {
    container::RecordContainer container(m_budget);
    return Open(path, container);
}

bool DisturbanceRecord::ApplyDeviceModel(const std::string& modelText, const std::string& languageText,
                                         const devicemodel::ExtendedSettingsSet& settings,
                                         bool displayAnsiDeviceNumbers) {
    // Each text is parsed twice (checked, then walked). Documents over the
    // budget count as no model: the channels keep their keys.
    const uint64_t documents = 2 * (platform::ParsedXmlBytes(modelText) + platform::ParsedXmlBytes(languageText));
    if (!m_budget.Reserve(documents)) return true;
    const bool applied =
        devicemodel::ApplyDeviceModel(modelText, languageText, settings, displayAnsiDeviceNumbers, m_textTable);
    m_budget.Release(documents);
    return applied;
}

bool DisturbanceRecord::OpenText(std::string text) {
    // The document tree is paid for before it is built (a document parsed
    // before is replaced).
    m_budget.Release(m_documentBytes);
    m_documentBytes = 0;
    const uint64_t documentBytes = platform::ParsedXmlBytes(text);
    if (!m_budget.Reserve(documentBytes)) return false;
    m_documentBytes = documentBytes;
    m_text = std::move(text);
    // The record is 8-bit text: bytes are kept as they are, no conversion.
    const pugi::xml_parse_result result =
        m_document.load_buffer_inplace(m_text.empty() ? nullptr : &m_text[0], m_text.size(), pugi::parse_default,
                                       pugi::encoding_utf8);
    if (!result) {
        m_document.reset();
        return false;
    }
    return static_cast<bool>(Root());
}

bool DisturbanceRecord::GetInt64(ElementPath path, const char* attribute, bool nonZero, int64_t& value) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), path, attribute, text)) return false;
    const int64_t parsed = platform::ParseInt64(text);
    if (nonZero && parsed == 0) return false;
    value = parsed;
    return true;
}

// Device name and version are converted to wide text, up to one wide
// character per byte, reserved in the budget first: a record cannot make
// them cost more than it may.
bool DisturbanceRecord::GetDeviceName(std::wstring& name, size_t maxBytes) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), {"DistHeader", "Common", "Device"}, "Name", text)) return false;
    text = text.substr(0, maxBytes);
    if (!m_budget.Reserve(text.size(), sizeof(wchar_t))) return false;
    name = platform::Utf8ToWide(text);
    return true;
}

bool DisturbanceRecord::GetDeviceVersion(std::wstring& version) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), {"DistHeader", "Common", "Device"}, "Version", text)) return false;
    if (!m_budget.Reserve(text.size(), sizeof(wchar_t))) return false;
    version = platform::AnsiToWide(text);
    return true;
}

bool DisturbanceRecord::GetSampleDuration(double& duration) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), {"DistHeader", "Common", "Timing"}, "sampleDuration", text)) return false;
    const double value = platform::ParseReal(text);
    duration = value * 1000.0;
    return value != 0.0;
}

bool DisturbanceRecord::GetTimeAdjust1(int64_t& value) const {
    return GetInt64({"DistHeader", "Common", "Timing"}, "timeAdjust1", true, value);
}

bool DisturbanceRecord::GetTimeAdjust2(int64_t& value) const {
    return GetInt64({"DistHeader", "Common", "Timing"}, "timeAdjust2", true, value);
}

bool DisturbanceRecord::GetTimeCount(int64_t& value) const {
    return GetInt64({"DistData", "Common", "Trigger"}, "timeCount", true, value);
}

bool DisturbanceRecord::GetTimeOffset(int64_t& value) const {
    return GetInt64({"DistData", "Common", "Trigger"}, "timeOffset", true, value);
}

bool DisturbanceRecord::GetTimeSample(int64_t& value) const {
    return GetInt64({"DistData", "Common", "Trigger"}, "timeSample", true, value);
}

bool DisturbanceRecord::GetInt32(ElementPath path, const char* attribute, bool nonZero, int32_t& value) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), path, attribute, text)) return false;
    const int32_t parsed = platform::ParseInt32(text);
    if (nonZero && parsed == 0) return false;
    value = parsed;
    return true;
}

bool DisturbanceRecord::GetTimezoneOffset(int32_t& value) const {
    return GetInt32({"DistData", "Common", "Trigger"}, "timezoneOffset", true, value);
}

bool DisturbanceRecord::GetDstOffset(int32_t& value) const {
    return GetInt32({"DistData", "Common", "Trigger"}, "dstOffset", true, value);
}

bool DisturbanceRecord::GetLostEventCount(int32_t& value) const {
    return GetInt32({"DistData", "Common", "EventLost"}, "noOfLosts", false, value);
}

bool DisturbanceRecord::GetXOffsetDefaultSamples(int32_t& value) const {
    std::string_view text;
    if (!GetPathAttribute(Root(), {"DistHeader", "AnalogHeader"}, "xOffsetDefaultSamples", text)) return false;
    value = platform::ParseLow32(text);
    return true;
}

bool DisturbanceRecord::GetFirstSampleNumber(int64_t& value) const {
    return GetInt64({"DistData", "Traces", "Trace", "Data"}, "sampleCount", false, value);
}

bool DisturbanceRecord::GetSampleCount(int32_t& value) const {
    return GetInt32({"DistData", "Traces", "Trace", "TGeneral"}, "numberOfSample", false, value);
}

bool DisturbanceRecord::GetTriggerTimeText(std::wstring& text, CalendarTime* calendar) const {
    int64_t timeCount = 0, timeOffset = 0, adjust1 = 0, adjust2 = 0;
    if (!GetTimeCount(timeCount) || !GetTimeOffset(timeOffset) || !GetTimeAdjust1(adjust1) ||
        !GetTimeAdjust2(adjust2)) {
        return false;
    }
    int32_t zone = 0, dst = 0;
    GetTimezoneOffset(zone);
    GetDstOffset(dst);
    // Ticks times the ratio adjust1/adjust2 are seconds; all arithmetic wraps
    // and the division is unsigned, as the relay's own tools compute it.
    const uint64_t ticks = static_cast<uint64_t>(timeCount) + static_cast<uint64_t>(timeOffset);
    const uint64_t scaled = ticks * static_cast<uint64_t>(adjust1);
    const uint64_t divisor = static_cast<uint64_t>(adjust2);
    const uint64_t quotient = scaled / divisor;
    const uint64_t remainder = scaled % divisor;
    const int32_t offsets = static_cast<int32_t>(static_cast<uint32_t>(zone) + static_cast<uint32_t>(dst));
    const int64_t seconds = static_cast<int64_t>(quotient + static_cast<uint64_t>(static_cast<int64_t>(offsets)));
    CalendarTime time;
    if (!BreakDownUtc(seconds, time)) return false;
    time.millisecond = static_cast<int>(remainder * 1000 / divisor);
    text = FormatTriggerTime(time);
    if (calendar != nullptr) *calendar = time;
    return true;
}

bool DisturbanceRecord::GetTriggerSampleOffset(int64_t& offset) const {
    int64_t timeSample = 0, first = 0;
    if (!GetTimeSample(timeSample) || !GetFirstSampleNumber(first)) return false;
    offset = static_cast<int64_t>(static_cast<uint64_t>(timeSample) - static_cast<uint64_t>(first));
    return true;
}

bool DisturbanceRecord::ReadHeader(HeaderValues& header) {
    int32_t samples = 0;
    if (!GetSampleCount(samples) || samples < 0 || samples > kMaxSampleCount) return false;
    header.sampleCount = static_cast<uint32_t>(samples);
    if (!LoadAnalogSection()) return false;
    if (!GetSampleDuration(header.sampleInterval)) return false;
    CalendarTime calendar;
    if (!GetTriggerTimeText(header.triggerTimeText, &calendar)) return false;
    header.timeZoneValid = GetTimezoneOffset(header.timeZoneOffset);
    // The daylight offset is taken whenever present, 0 included.
    if (header.timeZoneValid) GetInt32({"DistData", "Common", "Trigger"}, "dstOffset", false, header.dstOffset);
    std::wstring name, version;
    if (!GetDeviceName(name) && m_budget.Refused()) return false;
    if (!GetDeviceVersion(version) && m_budget.Refused()) return false;
    name.reserve(name.size() + 3 + version.size());  // a huge name is not copied twice
    header.description = std::move(name);
    header.description += L"   ";
    header.description += version;
    GetXOffsetDefaultSamples(header.defaultXOffset);
    if (!NormaliseLocalTime(calendar, header.triggerTime)) return false;
    header.triggerMilliseconds = calendar.millisecond;
    return true;
}

}  // namespace record
