#include "host/RecordReader.h"

namespace host {
namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

void ReadCommon(GenericChannelReader& reader, Channel& channel) {
    ChannelMetadataReader& metadata = *reader.GetMetadata();
    channel.name = Text(metadata.GetName());
    channel.color = metadata.GetColor();
    channel.id = reader.GetId();
    channel.key = Text(reader.GetKey());
    channel.sampleCount = reader.GetSampleCount();
    channel.offset = reader.GetOffset();
    RangeMarker& marker = *reader.GetRangeMarker();
    channel.hasInvalidRanges = marker.HasInvalidRanges();
    for (RangeIterator it = marker.GetRangesBegin(), end = marker.GetRangesEnd(); it != end; ++it) {
        channel.ranges.push_back(*it);
    }
}

AnalogChannel ReadAnalog(AnalogChannelReader& reader, const ReadOptions& options) {
    AnalogChannel channel;
    ReadCommon(reader, channel);
    channel.unit = Text(reader.GetUnit());
    channel.maxMagnitude = reader.GetMaxMagnitude();
    if (!options.samples) return channel;
    reader.SetSampleShift(0);
    channel.values.resize(channel.sampleCount);
    channel.valid.resize(channel.sampleCount);
    for (uint32_t i = 0; i < channel.sampleCount; ++i) {
        channel.values[i] = reader.GetSampleValue(i);
        channel.valid[i] = reader.IsSampleValid(i) ? 1 : 0;
    }
    return channel;
}

template <typename Transition>
TransitionalChannel<Transition> ReadTransitional(TransitionalChannelReader<Transition>& reader) {
    TransitionalChannel<Transition> channel;
    ReadCommon(reader, channel);
    for (auto it = reader.GetTransitionsBegin(), end = reader.GetTransitionsEnd(); it != end; ++it) {
        channel.transitions.push_back(*it);
    }
    return channel;
}

ReportedTime ReadTime(bool (DisturbanceDataReader::*get)(tm*, double*), DisturbanceDataReader& reader) {
    ReportedTime time;
    time.reported = (reader.*get)(&time.fields, &time.milliseconds);
    return time;
}

}  // namespace

Record ReadRecord(DisturbanceDataReader& reader, const ReadOptions& options) {
    Record record;
    FileMetadataReader& metadata = *reader.GetFileMetadata();
    record.fileName = Text(metadata.GetFileName());
    record.description = Text(metadata.GetDescription());
    record.triggerTimeText = Text(metadata.GetTriggerTimeText());
    record.defaultXOffset = metadata.GetDefaultXOffset();
    record.language = Text(reader.GetLanguage());
    record.sampleCount = reader.GetSampleCount();
    record.triggerSample = reader.GetTriggerSample();
    record.sampleInterval = reader.GetSampleInterval();
    record.sampleTimes.resize(record.sampleCount);
    for (uint32_t i = 0; i < record.sampleCount; ++i) record.sampleTimes[i] = reader.GetSampleTime(i);
    record.triggerTime = ReadTime(&DisturbanceDataReader::GetTriggerTime, reader);
    record.secondaryTime = ReadTime(&DisturbanceDataReader::GetSecondaryTime, reader);
    TimeZone& zone = record.timeZone;
    zone.valid = reader.GetTimeZone(&zone.offset, &zone.dstOffset);
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i)
        record.analog.push_back(ReadAnalog(*reader.GetAnalogChannel(i), options));
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i)
        record.digital.push_back(ReadTransitional(*reader.GetDigitalChannel(i)));
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i)
        record.logical.push_back(ReadTransitional(*reader.GetLogicalChannel(i)));
    return record;
}

std::optional<Record> LoadRecord(const Plugin& plugin, const RecordSource& source,
                                 const ReadOptions& options) {
    const ReaderHandle reader = plugin.Open(source);
    if (!reader) return std::nullopt;
    return ReadRecord(*reader, options);
}

}  // namespace host
