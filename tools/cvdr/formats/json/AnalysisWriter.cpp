#include "formats/json/AnalysisWriter.h"

#include "formats/json/JsonWriter.h"
#include "host/ChannelSelection.h"

namespace cvdr {
namespace {

void WriteOptionalNumber(JsonWriter& json, const char* key, const std::optional<double>& value) {
    json.Key(key);
    if (value) {
        json.Number(*value);
    } else {
        json.Null();
    }
}

void WritePhasor(JsonWriter& json, const analysis::Phasor& phasor) {
    json.Key("magnitude").Number(phasor.magnitude).Key("angle_deg").Number(phasor.angleDeg);
}

void WriteChannel(JsonWriter& json, const host::AnalogChannel& channel,
                  const analysis::ChannelAnalysis& result, const std::vector<double>& times) {
    const analysis::ChannelStatistics& statistics = result.statistics;
    json.BeginObject();
    json.Key("name").String(channel.name).Key("unit").String(channel.unit);
    json.Key("samples").UInt(statistics.samples);
    WriteOptionalNumber(json, "min", statistics.minimum);
    WriteOptionalNumber(json, "max", statistics.maximum);
    json.Key("peak");
    if (statistics.peak) {
        json.BeginObject().Key("value").Number(statistics.peak->value);
        json.Key("time_ms").Number(statistics.peak->timeMs).EndObject();
    } else {
        json.Null();
    }
    WriteOptionalNumber(json, "rms", statistics.rms);
    json.Key("phasors").BeginArray();
    for (size_t i = 0; i < times.size(); ++i) {
        if (!result.phasors[i]) {
            json.Null();
            continue;
        }
        json.BeginObject().Key("at_ms").Number(times[i]);
        WritePhasor(json, *result.phasors[i]);
        json.EndObject();
    }
    json.EndArray().EndObject();
}

void WriteGroup(JsonWriter& json, const host::Record& record, const analysis::GroupAnalysis& result,
                const std::vector<double>& times) {
    json.BeginObject().Key("channels").BeginArray();
    for (size_t channel : result.group.channels) json.String(record.analog[channel].name);
    json.EndArray().Key("components").BeginArray();
    for (size_t i = 0; i < times.size(); ++i) {
        const std::optional<analysis::SequencePhasors>& components = result.components[i];
        if (!components) {
            json.Null();
            continue;
        }
        json.BeginObject().Key("at_ms").Number(times[i]);
        const std::pair<const char*, const analysis::Phasor*> parts[] = {{"zero", &components->zero},
                                                                         {"positive", &components->positive},
                                                                         {"negative", &components->negative}};
        for (const auto& [name, phasor] : parts) {
            json.Key(name).BeginObject();
            WritePhasor(json, *phasor);
            json.EndObject();
        }
        json.EndObject();
    }
    json.EndArray().EndObject();
}

void WriteEvents(JsonWriter& json, const host::Record& record, const std::vector<analysis::Event>& events) {
    json.Key("events").BeginArray();
    for (const analysis::Event& event : events) {
        json.BeginObject().Key("time_ms").Number(event.timeMs);
        json.Key("channel").String(host::ChannelAt(record, event.channel).name);
        json.Key("state").String(event.state).EndObject();
    }
    json.EndArray();
}

}  // namespace

void WriteAnalysisJson(const host::Record& record, const analysis::RecordAnalysis& result,
                       std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("format").String("cvdr-analysis/1");
    json.Key("file").String(record.fileName);
    json.Key("description").String(record.description);
    json.Key("triggerTimeText").String(record.triggerTimeText);
    json.Key("sampleCount").UInt(record.sampleCount);
    json.Key("sampleInterval").Number(record.sampleInterval);
    json.Key("frequency").Number(result.frequency);
    json.Key("cycleSamples").UInt(result.cycleSamples);
    json.Key("times_ms").BeginArray();
    for (double time : result.times) json.Number(time);
    json.EndArray();
    json.Key("analog").BeginArray();
    for (const analysis::ChannelAnalysis& channel : result.channels)
        WriteChannel(json, record.analog[channel.channel], channel, result.times);
    json.EndArray();
    json.Key("groups").BeginArray();
    for (const analysis::GroupAnalysis& group : result.groups) WriteGroup(json, record, group, result.times);
    json.EndArray();
    WriteEvents(json, record, result.events);
    json.EndObject();
    out << '\n';
}

}  // namespace cvdr
