#include "formats/comtrade/ChannelPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "formats/BlockPipeline.h"
#include "formats/Utf8Text.h"
#include "host/TransitionCursor.h"

namespace cvdr::comtrade {
namespace {

// The number a whole state text stands for; none for other texts.
std::optional<double> ParseNumber(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

AnalogColumn PlanAnalog(const host::Record& record, size_t index) {
    const host::AnalogChannel& channel = record.analog[index];
    AnalogColumn column;
    column.channel = index;
    column.name = ValidUtf8(channel.name);
    column.unit = ValidUtf8(channel.unit);
    return column;
}

// The range of each analog column's valid values. The samples are read
// channel by channel in long stretches on this thread; each stretch is
// added to its column's range on a second one while the next is read.
void FindRanges(const host::Record& record, const host::AnalogSampleReader& samples,
                std::vector<AnalogColumn>& columns) {
    constexpr uint32_t kStretch = 65536;  // samples
    struct Stretch {
        std::vector<double> values = std::vector<double>(kStretch);
        std::vector<uint8_t> valid = std::vector<uint8_t>(kStretch);
        AnalogColumn* column = nullptr;
        uint32_t count = 0;
    };
    Stretch stretches[2];
    const size_t perChannel = BlockCount(record.sampleCount, kStretch);
    const auto read = [&](size_t slot, size_t index) {
        Stretch& stretch = stretches[slot];
        stretch.column = &columns[index / perChannel];
        const uint32_t first = static_cast<uint32_t>(index % perChannel * kStretch);
        stretch.count = std::min(kStretch, record.sampleCount - first);
        samples.Read(stretch.column->channel, first, stretch.count, stretch.values.data(), stretch.valid.data());
    };
    const auto add = [&](size_t slot, size_t) {
        const Stretch& stretch = stretches[slot];
        stretch.column->range.AddPresent(stretch.values.data(), stretch.valid.data(), stretch.count);
    };
    RunBlockPipeline(perChannel * columns.size(), read, add);
}

// Numbers when every valid state text is one, else codes for the texts.
void PlanStates(const host::LogicalChannel& channel, AnalogColumn& column) {
    std::vector<std::string> texts;
    bool numeric = true;
    for (const LogicalTransition& transition : channel.transitions) {
        if (transition.text.empty()) continue;
        numeric = numeric && ParseNumber(transition.text).has_value();
        if (std::find(texts.begin(), texts.end(), transition.text) == texts.end())
            texts.push_back(transition.text);
    }
    if (!numeric) column.stateCodes = texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        column.range.Add(numeric ? *ParseNumber(texts[i]) : static_cast<double>(i));
    }
}

AnalogColumn PlanLogical(const host::Record& record, size_t index) {
    const host::LogicalChannel& channel = record.logical[index];
    AnalogColumn column;
    column.logical = true;
    column.channel = index;
    column.name = ValidUtf8(channel.name);
    PlanStates(channel, column);
    return column;
}

void AddRun(std::vector<SampleRun>& runs, uint32_t first, uint32_t last) {
    if (!runs.empty() && runs.back().last + 1 == first) {
        runs.back().last = last;
    } else {
        runs.push_back({first, last});
    }
}

StatusColumn PlanStatus(const host::Record& record, size_t index) {
    const host::DigitalChannel& channel = record.digital[index];
    StatusColumn column;
    column.channel = index;
    column.name = ValidUtf8(channel.name);
    host::TransitionCursor<DigitalTransition> cursor(channel);
    for (uint32_t sample = 0; sample < record.sampleCount;) {
        const bool invalid = host::DigitalLevel(cursor.At(sample)) < 0;
        const uint32_t end = std::min(cursor.RunEnd(sample), record.sampleCount);
        if (invalid) AddRun(column.invalidRuns, sample, end - 1);
        sample = end;
    }
    return column;
}

}  // namespace

ChannelPlan PlanChannels(const host::Record& record, const host::AnalogSampleReader& samples, DataType type) {
    ChannelPlan plan;
    plan.sampleCount = record.sampleCount;
    for (size_t i = 0; i < record.analog.size(); ++i) plan.analog.push_back(PlanAnalog(record, i));
    FindRanges(record, samples, plan.analog);
    for (size_t i = 0; i < record.logical.size(); ++i) plan.analog.push_back(PlanLogical(record, i));
    for (AnalogColumn& column : plan.analog)
        column.scaling = Scaling::ForRange(column.range, IntegerLimit(type));
    for (size_t i = 0; i < record.digital.size(); ++i) plan.status.push_back(PlanStatus(record, i));
    return plan;
}

std::optional<double> LogicalStateValue(const AnalogColumn& column, const LogicalTransition* transition) {
    if (!host::IsLogicalValid(transition)) return std::nullopt;
    if (column.stateCodes.empty()) return ParseNumber(transition->text);
    const auto found = std::find(column.stateCodes.begin(), column.stateCodes.end(), transition->text);
    if (found == column.stateCodes.end()) return std::nullopt;
    return static_cast<double>(found - column.stateCodes.begin());
}

}  // namespace cvdr::comtrade
