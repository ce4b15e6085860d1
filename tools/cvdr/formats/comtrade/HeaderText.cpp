#include "formats/comtrade/HeaderText.h"

#include <fmt/format.h>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"

namespace cvdr::comtrade {
namespace {

constexpr const char* kLineEnd = "\r\n";

// A channel with a flickering signal could list millions of runs.
constexpr size_t kMaxListedRuns = 1000;

void Line(std::string& text, const std::string& line) { text += line + kLineEnd; }

// A text from the record on one line of its own.
std::string OneLine(const std::string& text) {
    std::string line = ValidUtf8(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return line;
}

std::string MissingValueText(DataType type) {
    switch (type) {
        case DataType::kAscii:
            return "99999";
        case DataType::kBinary:
            return "-32768 (0x8000)";
        case DataType::kBinary32:
            return "-2147483648 (0x80000000)";
        case DataType::kFloat32:
            return "NaN (FLOAT32 has no missing value of its own)";
    }
    return "";
}

void AppendRecordLines(std::string& text, const host::Record& record, const HeaderFacts& facts) {
    Line(text, "Disturbance record exported by cvdr");
    Line(text, "Source file: " + OneLine(facts.sourceName));
    Line(text, "Description: " + OneLine(record.description));
    Line(text, fmt::format("Trigger: {} at sample {} of {}", OneLine(record.triggerTimeText),
                           record.triggerSample + 1, record.sampleCount));
    if (!facts.triggerTimeKnown)
        Line(text, "The record gives no trigger time: the time stamps start at 1970.");
    if (!facts.timeZoneKnown) Line(text, "The record gives no time zone: the time stamps are as recorded.");
}

void AppendValueLines(std::string& text, const ExportFormat& format) {
    Line(text, "");
    Line(text, "Invalid analog samples and unknown logical states are written as " +
                   MissingValueText(format.dataType) + ".");
    if (format.dataType != DataType::kFloat32) {
        Line(text, "Analog values that are not finite numbers are written as missing values as well.");
    }
    Line(text, "Logical channels are written as analog channels holding their state as a number.");
    Line(text, "Invalid samples of status channels are written as 0.");
}

// Times in ms relative to the trigger of the first and last sample of a run.
void AppendInvalidRuns(std::string& text, const host::Record& record, const ChannelPlan& plan,
                       const ConfigFields& fields) {
    bool first = true;
    for (size_t i = 0; i < plan.status.size(); ++i) {
        const std::vector<SampleRun>& runs = plan.status[i].invalidRuns;
        if (!runs.empty() && first) {
            Line(text, "");
            Line(text, "Invalid samples of status channels (sample numbers as in the data file):");
            first = false;
        }
        for (size_t k = 0; k < runs.size() && k < kMaxListedRuns; ++k) {
            Line(text, fmt::format("  D{} {}: samples {} to {} ({} ms to {} ms)", i + 1, fields.statusIds[i],
                                   runs[k].first + 1, runs[k].last + 1,
                                   NumberText(record.sampleTimes[runs[k].first]),
                                   NumberText(record.sampleTimes[runs[k].last])));
        }
        if (runs.size() > kMaxListedRuns) {
            Line(text, fmt::format("  D{} {}: {} more runs", i + 1, fields.statusIds[i],
                                   runs.size() - kMaxListedRuns));
        }
    }
}

void AppendStateCodes(std::string& text, const ChannelPlan& plan, const ConfigFields& fields) {
    bool first = true;
    for (size_t i = 0; i < plan.analog.size(); ++i) {
        const std::vector<std::string>& codes = plan.analog[i].stateCodes;
        if (codes.empty()) continue;
        if (first) {
            Line(text, "");
            Line(text, "Logical channels whose states are texts, written as codes:");
            first = false;
        }
        std::string line = fmt::format("  A{} {}:", i + 1, fields.analogIds[i]);
        for (size_t code = 0; code < codes.size(); ++code) {
            line += fmt::format("{} {} = \"{}\"", code == 0 ? "" : ",", code, OneLine(codes[code]));
        }
        Line(text, line);
    }
}

void AppendChanges(std::string& text, const ConfigFields& fields) {
    if (fields.changes.empty()) return;
    Line(text, "");
    Line(text, "Texts changed to fit the configuration file:");
    for (const std::string& change : fields.changes) Line(text, "  " + change);
}

}  // namespace

std::string HeaderText(const host::Record& record, const ChannelPlan& plan, const ConfigFields& fields,
                       const ExportFormat& format, const HeaderFacts& facts) {
    std::string text;
    AppendRecordLines(text, record, facts);
    AppendValueLines(text, format);
    AppendInvalidRuns(text, record, plan, fields);
    AppendStateCodes(text, plan, fields);
    AppendChanges(text, fields);
    return text;
}

}  // namespace cvdr::comtrade
