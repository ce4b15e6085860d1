#include "formats/comtrade/ChannelPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "ExitStatus.h"
#include "formats/Utf8Text.h"

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

AnalogColumn PlanAnalog(DisturbanceDataReader& reader, int index, uint32_t sampleCount) {
    AnalogChannelReader& channel = *reader.GetAnalogChannel(index);
    AnalogColumn column;
    column.channel = index;
    column.name = ValidUtf8(Text(channel.GetMetadata()->GetName()));
    column.unit = ValidUtf8(Text(channel.GetUnit()));
    const AnalogSamples samples(channel);
    for (uint32_t sample = 0; sample < sampleCount; ++sample) {
        if (samples.IsValid(sample)) column.range.Add(samples.Value(sample));
    }
    return column;
}

// Numbers when every valid state text is one, else codes for the texts.
void PlanStates(LogicalChannelReader& channel, AnalogColumn& column) {
    std::vector<std::string> texts;
    bool numeric = true;
    for (auto it = channel.GetTransitionsBegin(), end = channel.GetTransitionsEnd(); it != end; ++it) {
        if (it->text.empty()) continue;
        numeric = numeric && ParseNumber(it->text).has_value();
        if (std::find(texts.begin(), texts.end(), it->text) == texts.end()) texts.push_back(it->text);
    }
    if (!numeric) column.stateCodes = texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        column.range.Add(numeric ? *ParseNumber(texts[i]) : static_cast<double>(i));
    }
}

AnalogColumn PlanLogical(DisturbanceDataReader& reader, int index) {
    LogicalChannelReader& channel = *reader.GetLogicalChannel(index);
    AnalogColumn column;
    column.logical = true;
    column.channel = index;
    column.name = ValidUtf8(Text(channel.GetMetadata()->GetName()));
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

StatusColumn PlanStatus(DisturbanceDataReader& reader, int index, uint32_t sampleCount) {
    DigitalChannelReader& channel = *reader.GetDigitalChannel(index);
    StatusColumn column;
    column.channel = index;
    column.name = ValidUtf8(Text(channel.GetMetadata()->GetName()));
    TransitionCursor<DigitalTransition> cursor(channel);
    for (uint32_t sample = 0; sample < sampleCount;) {
        const bool invalid = DigitalLevel(cursor.At(sample)) < 0;
        const uint32_t end = std::min(cursor.RunEnd(sample), sampleCount);
        if (invalid) AddRun(column.invalidRuns, sample, end - 1);
        sample = end;
    }
    return column;
}

}  // namespace

ChannelPlan PlanChannels(DisturbanceDataReader& reader, DataType type) {
    ChannelPlan plan;
    plan.sampleCount = reader.GetSampleCount();
    for (int i = 0, n = reader.GetAnalogChannelCount(); i < n; ++i) {
        plan.analog.push_back(PlanAnalog(reader, i, plan.sampleCount));
    }
    for (int i = 0, n = reader.GetLogicalChannelCount(); i < n; ++i)
        plan.analog.push_back(PlanLogical(reader, i));
    for (AnalogColumn& column : plan.analog)
        column.scaling = Scaling::ForRange(column.range, IntegerLimit(type));
    for (int i = 0, n = reader.GetDigitalChannelCount(); i < n; ++i) {
        plan.status.push_back(PlanStatus(reader, i, plan.sampleCount));
    }
    return plan;
}

std::optional<double> LogicalStateValue(const AnalogColumn& column, const LogicalTransition* transition) {
    if (!IsLogicalValid(transition)) return std::nullopt;
    if (column.stateCodes.empty()) return ParseNumber(transition->text);
    const auto found = std::find(column.stateCodes.begin(), column.stateCodes.end(), transition->text);
    if (found == column.stateCodes.end()) return std::nullopt;
    return static_cast<double>(found - column.stateCodes.begin());
}

AnalogColumnReader::AnalogColumnReader(DisturbanceDataReader& reader, const AnalogColumn& column)
    : m_column(&column) {
    if (column.logical) {
        m_logical.emplace(*reader.GetLogicalChannel(column.channel));
    } else {
        m_analog.emplace(*reader.GetAnalogChannel(column.channel));
    }
}

std::optional<double> AnalogColumnReader::Read(uint32_t sample) {
    if (m_analog) {
        if (!m_analog->IsValid(sample)) return std::nullopt;
        return m_analog->Value(sample);
    }
    // States last many samples: the value is worked out once per transition.
    const LogicalTransition* state = m_logical->At(sample);
    if (state != m_lastState) {
        m_lastState = state;
        m_lastValue = LogicalStateValue(*m_column, state);
    }
    return m_lastValue;
}

}  // namespace cvdr::comtrade
