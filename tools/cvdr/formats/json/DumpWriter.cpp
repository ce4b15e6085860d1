#include "formats/json/DumpWriter.h"

#include <string>

#include "formats/json/JsonWriter.h"

namespace cvdr {
namespace {

void WriteFileMetadata(JsonWriter& json, const host::Record& record) {
    json.Key("file").BeginObject();
    json.Key("name").String(record.fileName);
    json.Key("description").String(record.description);
    json.Key("triggerTimeText").String(record.triggerTimeText);
    json.Key("defaultXOffset").Int(record.defaultXOffset);
    json.EndObject();
}

void WriteCalendar(JsonWriter& json, const host::ReportedTime& time) {
    const tm& fields = time.fields;
    json.BeginObject();
    json.Key("tm_sec").Int(fields.tm_sec).Key("tm_min").Int(fields.tm_min).Key("tm_hour").Int(fields.tm_hour);
    json.Key("tm_mday")
        .Int(fields.tm_mday)
        .Key("tm_mon")
        .Int(fields.tm_mon)
        .Key("tm_year")
        .Int(fields.tm_year);
    json.Key("tm_wday")
        .Int(fields.tm_wday)
        .Key("tm_yday")
        .Int(fields.tm_yday)
        .Key("tm_isdst")
        .Int(fields.tm_isdst);
    json.Key("milliseconds").Number(time.milliseconds);
    json.EndObject();
}

void WriteTimes(JsonWriter& json, const host::Record& record) {
    json.Key("triggerTime");
    WriteCalendar(json, record.triggerTime);
    json.Key("secondaryTime");
    if (record.secondaryTime.reported) {
        WriteCalendar(json, record.secondaryTime);
    } else {
        json.Null();
    }
}

void WriteTimeZone(JsonWriter& json, const host::TimeZone& zone) {
    json.Key("timeZone").BeginObject();
    json.Key("valid").Bool(zone.valid).Key("offset").Int(zone.offset).Key("dstOffset").Int(zone.dstOffset);
    json.EndObject();
}

// Time of a sample, or null for a record without samples.
void WriteSampleTime(JsonWriter& json, const char* name, const host::Record& record, bool last) {
    json.Key(name);
    if (record.sampleTimes.empty()) {
        json.Null();
    } else {
        json.Number(last ? record.sampleTimes.back() : record.sampleTimes.front());
    }
}

void WriteTiming(JsonWriter& json, const host::Record& record) {
    json.Key("sampleCount").UInt(record.sampleCount);
    json.Key("triggerSample").UInt(record.triggerSample);
    json.Key("sampleInterval").Number(record.sampleInterval);
    WriteSampleTime(json, "firstSampleTime", record, false);
    WriteSampleTime(json, "lastSampleTime", record, true);
    WriteTimes(json, record);
    WriteTimeZone(json, record.timeZone);
}

// The fields every channel kind starts with.
void WriteCommon(JsonWriter& json, const host::Channel& channel) {
    json.Key("name").String(channel.name);
    json.Key("color").UInt(channel.color);
    json.Key("id").Int(channel.id);
    json.Key("key").String(channel.key);
    json.Key("sampleCount").UInt(channel.sampleCount);
    json.Key("offset").Number(channel.offset);
    json.Key("hasInvalidRanges").Bool(channel.hasInvalidRanges);
    json.Key("ranges").BeginArray();
    for (const RangeRecord& range : channel.ranges)
        json.BeginArray().Bool(range.valid).UInt(range.firstSample).EndArray();
    json.EndArray();
}

void WriteSamples(JsonWriter& json, const host::AnalogChannel& channel) {
    json.Key("values").BeginArray();
    for (double value : channel.values) json.Number(value);
    json.EndArray();
    std::string validity(channel.valid.size(), '0');
    for (size_t i = 0; i < channel.valid.size(); ++i) {
        if (channel.valid[i] != 0) validity[i] = '1';
    }
    json.Key("validity").String(validity);
}

void WriteChannel(JsonWriter& json, const host::AnalogChannel& channel, const DumpOptions& options) {
    json.BeginObject();
    WriteCommon(json, channel);
    json.Key("unit").String(channel.unit);
    json.Key("maxMagnitude").Number(channel.maxMagnitude);
    if (options.samples) WriteSamples(json, channel);
    json.EndObject();
}

void WriteState(JsonWriter& json, const DigitalTransition& transition) { json.UInt(transition.state); }
void WriteState(JsonWriter& json, const LogicalTransition& transition) { json.String(transition.text); }

template <typename Transition>
void WriteChannel(JsonWriter& json, const host::TransitionalChannel<Transition>& channel,
                  const DumpOptions&) {
    json.BeginObject();
    WriteCommon(json, channel);
    json.Key("transitions").BeginArray();
    for (const Transition& transition : channel.transitions) {
        json.BeginArray();
        WriteState(json, transition);
        json.UInt(transition.firstSample).EndArray();
    }
    json.EndArray();
    json.EndObject();
}

// One array member per channel; gives up once the output has failed.
template <typename Channel>
void WriteChannelList(JsonWriter& json, std::ostream& out, const char* name,
                      const std::vector<Channel>& channels, const DumpOptions& options) {
    json.Key(name).BeginArray();
    for (size_t i = 0; i < channels.size() && out; ++i) WriteChannel(json, channels[i], options);
    json.EndArray();
}

}  // namespace

void WriteDump(const host::Record& record, const DumpOptions& options, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("format").String("cvdr-dump/1");
    WriteFileMetadata(json, record);
    json.Key("language").String(record.language);
    WriteTiming(json, record);
    WriteChannelList(json, out, "analog", record.analog, options);
    WriteChannelList(json, out, "digital", record.digital, options);
    WriteChannelList(json, out, "logical", record.logical, options);
    json.EndObject();
    out << '\n';
}

}  // namespace cvdr
