#include "formats/csv/AnalysisTable.h"

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "formats/csv/CsvWriter.h"

namespace cvdr {
namespace {

void AppendCell(std::string& row, const std::optional<double>& value) {
    row += ',';
    if (value) AppendNumber(row, *value);
}

}  // namespace

std::string AnalysisCsvHeader(const std::vector<double>& times) {
    std::string row = "file,trigger time,channel,unit,samples,min,max,peak,peak time [ms],rms";
    for (double time : times) {
        const std::string at = " at " + NumberText(time) + " ms";
        row += ",magnitude" + at + ",angle" + at + " [deg]";
    }
    return row + "\r\n";
}

std::string AnalysisCsvRows(const std::string& file, const host::Record& record,
                            const analysis::RecordAnalysis& result) {
    std::string rows;
    for (const analysis::ChannelAnalysis& channel : result.channels) {
        const host::AnalogChannel& analog = record.analog[channel.channel];
        const analysis::ChannelStatistics& statistics = channel.statistics;
        AppendCsvField(rows, ValidUtf8(file));
        for (const std::string& text : {record.triggerTimeText, analog.name, analog.unit}) {
            rows += ',';
            AppendCsvField(rows, ValidUtf8(text));
        }
        rows += ',' + std::to_string(statistics.samples);
        AppendCell(rows, statistics.minimum);
        AppendCell(rows, statistics.maximum);
        AppendCell(rows, statistics.peak ? std::optional(statistics.peak->value) : std::nullopt);
        AppendCell(rows, statistics.peak ? std::optional(statistics.peak->timeMs) : std::nullopt);
        AppendCell(rows, statistics.rms);
        for (const std::optional<analysis::Phasor>& phasor : channel.phasors) {
            AppendCell(rows, phasor ? std::optional(phasor->magnitude) : std::nullopt);
            AppendCell(rows, phasor ? std::optional(phasor->angleDeg) : std::nullopt);
        }
        rows += "\r\n";
    }
    return rows;
}

}  // namespace cvdr
