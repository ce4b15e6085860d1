#include "formats/comtrade/ConfigFile.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdlib>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "formats/comtrade/FieldText.h"
#include "host/TimeAxis.h"

namespace cvdr::comtrade {
namespace {

constexpr const char* kLineEnd = "\r\n";

// The device name: the record's description is "<device>   <version>" (three
// blanks); the whole description when it has no three blanks.
std::string_view DeviceName(std::string_view description) {
    return description.substr(0, description.find("   "));
}

// `text` as a field, with a line in `changes` when it had to change.
std::string Field(std::string_view text, const FieldRules& rules, const std::string& what,
                  std::vector<std::string>& changes) {
    std::string field = FieldText(text, rules);
    if (field != ValidUtf8(text)) {
        changes.push_back(fmt::format("{}: \"{}\" written as \"{}\"", what, PrintableText(text), field));
    }
    return field;
}

std::string FloatText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

// Lowest and highest data value of the column as they stand in the data file.
std::string RangeFields(const AnalogColumn& column, DataType type) {
    if (column.range.Empty()) return "0,0";
    if (type == DataType::kFloat32)
        return FloatText(column.range.Low()) + "," + FloatText(column.range.High());
    return fmt::format("{},{}", column.scaling.Quantise(column.range.Low()),
                       column.scaling.Quantise(column.range.High()));
}

void AppendAnalogLine(std::string& text, size_t index, const AnalogColumn& column, const ConfigFields& fields,
                      DataType type) {
    const std::string& unit = fields.analogUnits[index];
    text += fmt::format("{},{},,,{},{},{},0,{},1,1,P{}", index + 1, fields.analogIds[index],
                        unit.empty() ? "-" : unit, NumberText(column.scaling.A()),
                        NumberText(column.scaling.B()), RangeFields(column, type), kLineEnd);
}

void AppendChannelLines(std::string& text, const ChannelPlan& plan, const ConfigFields& fields,
                        DataType type) {
    const size_t analog = plan.analog.size();
    const size_t status = plan.status.size();
    text += fmt::format("{},{}A,{}D{}", analog + status, analog, status, kLineEnd);
    for (size_t i = 0; i < analog; ++i) AppendAnalogLine(text, i, plan.analog[i], fields, type);
    for (size_t i = 0; i < status; ++i)
        text += fmt::format("{},{},,,0{}", i + 1, fields.statusIds[i], kLineEnd);
}

}  // namespace

ConfigFields MakeConfigFields(const ChannelPlan& plan, std::string_view description, Revision revision) {
    const bool ascii = revision == Revision::k1999;
    const FieldRules name{kNameLength, ascii};
    const FieldRules unit{kUnitLength, ascii};
    ConfigFields fields;
    fields.station = Field(description, name, "station name", fields.changes);
    fields.device = Field(DeviceName(description), name, "recording device id", fields.changes);
    for (size_t i = 0; i < plan.analog.size(); ++i) {
        const std::string label = "A" + std::to_string(i + 1);
        fields.analogIds.push_back(Field(plan.analog[i].name, name, label + " channel id", fields.changes));
        fields.analogUnits.push_back(Field(plan.analog[i].unit, unit, label + " unit", fields.changes));
    }
    for (size_t i = 0; i < plan.status.size(); ++i) {
        const std::string label = "D" + std::to_string(i + 1);
        fields.statusIds.push_back(Field(plan.status[i].name, name, label + " channel id", fields.changes));
    }
    return fields;
}

std::string TimestampText(int64_t microseconds) {
    const host::CalendarFields time = host::BreakDown(microseconds);
    return fmt::format("{:02}/{:02}/{:04},{:02}:{:02}:{:02}.{:06}", time.day, time.month, time.year,
                       time.hour, time.minute, time.second, time.microsecond);
}

std::string TimeCodeText(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    if (minutes == 0) return "0";
    const char sign = seconds < 0 ? '-' : '+';
    if (minutes % 60 == 0) return fmt::format("{}{}", sign, minutes / 60);
    return fmt::format("{}{}h{:02}", sign, minutes / 60, minutes % 60);
}

std::string ConfigText(const ChannelPlan& plan, const ConfigFields& fields, const RecordTiming& timing,
                       const ExportFormat& format) {
    std::string text =
        fmt::format("{},{},{}{}", fields.station, fields.device, RevisionYear(format.revision), kLineEnd);
    AppendChannelLines(text, plan, fields, format.dataType);
    text += NumberText(format.lineFrequency) + kLineEnd;
    text += fmt::format("1{}{},{}{}", kLineEnd, NumberText(timing.sampleRate), plan.sampleCount, kLineEnd);
    text += TimestampText(timing.firstSampleTime) + kLineEnd;
    text += TimestampText(timing.triggerTime) + kLineEnd;
    text += std::string(DataTypeName(format.dataType)) + kLineEnd;
    text += std::string("1") + kLineEnd;
    if (format.revision == Revision::k2013) {
        const std::string code = TimeCodeText(timing.clockOffset);
        text += code + "," + code + kLineEnd;
        text += std::string("F,0") + kLineEnd;
    }
    return text;
}

}  // namespace cvdr::comtrade
