#include "formats/comtrade/ComtradeWriter.h"

#include <fmt/format.h>

#include <cmath>
#include <filesystem>

#include "formats/OutputFile.h"
#include "formats/comtrade/ChannelPlan.h"
#include "formats/comtrade/ConfigFile.h"
#include "formats/comtrade/DataFile.h"
#include "formats/comtrade/HeaderText.h"
#include "host/TimeAxis.h"

namespace cvdr::comtrade {
namespace {

// Everything but the data records, worked out before any file is opened.
struct Texts {
    std::string config;
    std::string header;
};

RecordTiming Timing(const host::Record& record, HeaderFacts& facts) {
    RecordTiming timing;
    const std::optional<int64_t> trigger = host::TriggerMicroseconds(record);
    facts.triggerTimeKnown = trigger.has_value();
    timing.triggerTime = trigger.value_or(0);
    const std::optional<int64_t> lead = !record.sampleTimes.empty()
                                            ? host::MillisecondsToMicroseconds(record.sampleTimes.front())
                                            : std::nullopt;
    timing.firstSampleTime = timing.triggerTime + lead.value_or(0);
    const double interval = record.sampleInterval;
    timing.sampleRate = interval > 0.0 && std::isfinite(interval) ? 1000.0 / interval : 0.0;
    const std::optional<int> offset = host::ClockOffsetSeconds(record);
    facts.timeZoneKnown = offset.has_value();
    timing.clockOffset = offset.value_or(0);
    return timing;
}

Texts MakeTexts(const host::Record& record, const ChannelPlan& plan, const ExportFormat& format,
                const std::string& sourceName) {
    const ConfigFields fields = MakeConfigFields(plan, record.description, format.revision);
    HeaderFacts facts;
    facts.sourceName = sourceName;
    const RecordTiming timing = Timing(record, facts);
    return {ConfigText(plan, fields, timing, format), HeaderText(record, plan, fields, format, facts)};
}

DataRecordEncoder MakeEncoder(const ChannelPlan& plan, DataType type) {
    std::vector<Scaling> scalings;
    for (const AnalogColumn& column : plan.analog) scalings.push_back(column.scaling);
    return DataRecordEncoder(type, std::move(scalings), plan.status.size());
}

void WriteText(const std::string& path, const std::string& text, OutputSet& outputs) {
    outputs.Add(path);
    OutputFile file(path);
    file.Write(text);
    file.Close();
}

std::string DataSectionLine(const ChannelPlan& plan, const DataRecordEncoder& encoder) {
    if (encoder.RecordBytes() == 0) return "--- file type: DAT ASCII ---\r\n";
    const uint64_t bytes = uint64_t{plan.sampleCount} * encoder.RecordBytes();
    return fmt::format("--- file type: DAT BINARY: {} ---\r\n", bytes);
}

}  // namespace

std::vector<std::string> WriteComtrade(const host::Record& record, const host::AnalogSampleReader& samples,
                                       const ExportFormat& format, const ComtradeTarget& target) {
    const ChannelPlan plan = PlanChannels(record, samples, format.dataType);
    const Texts texts = MakeTexts(record, plan, format, target.sourceName);
    const DataRecordEncoder encoder = MakeEncoder(plan, format.dataType);
    const std::string base = (std::filesystem::path(target.folder) / target.stem).string();
    OutputSet outputs;
    std::vector<std::string> written;
    if (format.combined) {
        outputs.Add(base + ".cff");
        OutputFile file(base + ".cff");
        file.Write("--- file type: CFG ---\r\n" + texts.config + "--- file type: INF ---\r\n");
        file.Write("--- file type: HDR ---\r\n" + texts.header + DataSectionLine(plan, encoder));
        WriteDataRecords(record, samples, plan, encoder, file);
        file.Close();
        written.push_back(file.Path());
    } else {
        WriteText(base + ".cfg", texts.config, outputs);
        WriteText(base + ".hdr", texts.header, outputs);
        outputs.Add(base + ".dat");
        OutputFile data(base + ".dat");
        WriteDataRecords(record, samples, plan, encoder, data);
        data.Close();
        written = {base + ".cfg", base + ".hdr", base + ".dat"};
    }
    outputs.Keep();
    return written;
}

}  // namespace cvdr::comtrade
