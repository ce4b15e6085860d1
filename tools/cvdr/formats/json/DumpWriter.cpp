#include "formats/json/DumpWriter.h"

#include <string>

#include "ExitStatus.h"
#include "formats/json/JsonWriter.h"

namespace cvdr {
namespace {

void WriteFileMetadata(JsonWriter& json, FileMetadataReader& metadata) {
    json.Key("file").BeginObject();
    json.Key("name").String(Text(metadata.GetFileName()));
    json.Key("description").String(Text(metadata.GetDescription()));
    json.Key("triggerTimeText").String(Text(metadata.GetTriggerTimeText()));
    json.Key("defaultXOffset").Int(metadata.GetDefaultXOffset());
    json.EndObject();
}

void WriteCalendar(JsonWriter& json, const tm& time, double milliseconds) {
    json.BeginObject();
    json.Key("tm_sec").Int(time.tm_sec).Key("tm_min").Int(time.tm_min).Key("tm_hour").Int(time.tm_hour);
    json.Key("tm_mday").Int(time.tm_mday).Key("tm_mon").Int(time.tm_mon).Key("tm_year").Int(time.tm_year);
    json.Key("tm_wday").Int(time.tm_wday).Key("tm_yday").Int(time.tm_yday).Key("tm_isdst").Int(time.tm_isdst);
    json.Key("milliseconds").Number(milliseconds);
    json.EndObject();
}

void WriteTimes(JsonWriter& json, DisturbanceDataReader& reader) {
    tm trigger{};
    double triggerMilliseconds = 0.0;
    reader.GetTriggerTime(&trigger, &triggerMilliseconds);
    json.Key("triggerTime");
    WriteCalendar(json, trigger, triggerMilliseconds);

    tm secondary{};
    double secondaryMilliseconds = 0.0;
    json.Key("secondaryTime");
    if (reader.GetSecondaryTime(&secondary, &secondaryMilliseconds)) {
        WriteCalendar(json, secondary, secondaryMilliseconds);
    } else {
        json.Null();
    }
}

void WriteTimeZone(JsonWriter& json, DisturbanceDataReader& reader) {
    int offset = 0;
    int dstOffset = 0;
    const bool valid = reader.GetTimeZone(&offset, &dstOffset);
    json.Key("timeZone").BeginObject();
    json.Key("valid").Bool(valid).Key("offset").Int(offset).Key("dstOffset").Int(dstOffset);
    json.EndObject();
}

// Time of a sample, or null for a record without samples.
void WriteSampleTime(JsonWriter& json, const char* name, DisturbanceDataReader& reader, bool last) {
    const uint32_t sampleCount = reader.GetSampleCount();
    json.Key(name);
    if (sampleCount == 0) {
        json.Null();
    } else {
        json.Number(reader.GetSampleTime(last ? sampleCount - 1 : 0));
    }
}

void WriteTiming(JsonWriter& json, DisturbanceDataReader& reader) {
    json.Key("sampleCount").UInt(reader.GetSampleCount());
    json.Key("triggerSample").UInt(reader.GetTriggerSample());
    json.Key("sampleInterval").Number(reader.GetSampleInterval());
    WriteSampleTime(json, "firstSampleTime", reader, false);
    WriteSampleTime(json, "lastSampleTime", reader, true);
    WriteTimes(json, reader);
    WriteTimeZone(json, reader);
}

void WriteRanges(JsonWriter& json, RangeMarker& marker) {
    json.Key("hasInvalidRanges").Bool(marker.HasInvalidRanges());
    json.Key("ranges").BeginArray();
    for (RangeIterator it = marker.GetRangesBegin(), end = marker.GetRangesEnd(); it != end; ++it) {
        json.BeginArray().Bool(it->valid).UInt(it->firstSample).EndArray();
    }
    json.EndArray();
}

// The fields every channel kind starts with.
void WriteCommon(JsonWriter& json, GenericChannelReader& channel) {
    ChannelMetadataReader& metadata = *channel.GetMetadata();
    json.Key("name").String(Text(metadata.GetName()));
    json.Key("color").UInt(metadata.GetColor());
    json.Key("id").Int(channel.GetId());
    json.Key("key").String(Text(channel.GetKey()));
    json.Key("sampleCount").UInt(channel.GetSampleCount());
    json.Key("offset").Number(channel.GetOffset());
    WriteRanges(json, *channel.GetRangeMarker());
}

void WriteSamples(JsonWriter& json, AnalogChannelReader& channel) {
    const uint32_t count = channel.GetSampleCount();
    channel.SetSampleShift(0);
    json.Key("values").BeginArray();
    for (uint32_t i = 0; i < count; ++i) json.Number(channel.GetSampleValue(i));
    json.EndArray();
    std::string validity(count, '0');
    for (uint32_t i = 0; i < count; ++i) {
        if (channel.IsSampleValid(i)) validity[i] = '1';
    }
    json.Key("validity").String(validity);
}

void WriteAnalog(JsonWriter& json, AnalogChannelReader& channel, const DumpOptions& options) {
    json.BeginObject();
    WriteCommon(json, channel);
    json.Key("unit").String(Text(channel.GetUnit()));
    json.Key("maxMagnitude").Number(channel.GetMaxMagnitude());
    if (options.samples) WriteSamples(json, channel);
    json.EndObject();
}

void WriteState(JsonWriter& json, const DigitalTransition& transition) { json.UInt(transition.state); }
void WriteState(JsonWriter& json, const LogicalTransition& transition) { json.String(transition.text); }

template <typename Transition>
void WriteTransitional(JsonWriter& json, TransitionalChannelReader<Transition>& channel) {
    json.BeginObject();
    WriteCommon(json, channel);
    json.Key("transitions").BeginArray();
    const auto end = channel.GetTransitionsEnd();
    for (auto it = channel.GetTransitionsBegin(); it != end; ++it) {
        json.BeginArray();
        WriteState(json, *it);
        json.UInt(it->firstSample).EndArray();
    }
    json.EndArray();
    json.EndObject();
}

// One array member per channel; gives up once the output has failed.
template <typename GetCount, typename WriteChannel>
void WriteChannelList(JsonWriter& json, std::ostream& out, const char* name, GetCount count,
                      WriteChannel write) {
    json.Key(name).BeginArray();
    for (int i = 0, n = count(); i < n && out; ++i) write(i);
    json.EndArray();
}

void WriteChannels(JsonWriter& json, DisturbanceDataReader& reader, const DumpOptions& options,
                   std::ostream& out) {
    WriteChannelList(
        json, out, "analog", [&] { return reader.GetAnalogChannelCount(); },
        [&](int i) { WriteAnalog(json, *reader.GetAnalogChannel(i), options); });
    WriteChannelList(
        json, out, "digital", [&] { return reader.GetDigitalChannelCount(); },
        [&](int i) { WriteTransitional(json, *reader.GetDigitalChannel(i)); });
    WriteChannelList(
        json, out, "logical", [&] { return reader.GetLogicalChannelCount(); },
        [&](int i) { WriteTransitional(json, *reader.GetLogicalChannel(i)); });
}

}  // namespace

void WriteDump(DisturbanceDataReader& reader, const DumpOptions& options, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("format").String("cvdr-dump/1");
    WriteFileMetadata(json, *reader.GetFileMetadata());
    json.Key("language").String(Text(reader.GetLanguage()));
    WriteTiming(json, reader);
    WriteChannels(json, reader, options, out);
    json.EndObject();
    out << '\n';
}

}  // namespace cvdr
