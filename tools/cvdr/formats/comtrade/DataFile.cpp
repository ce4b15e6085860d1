#include "formats/comtrade/DataFile.h"

#include <optional>
#include <string>
#include <vector>

#include "host/TimeAxis.h"
#include "host/TransitionCursor.h"

namespace cvdr::comtrade {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 16;

// The values of one analog column, sample after sample in rising order.
class AnalogColumnReader {
public:
    AnalogColumnReader(const host::Record& record, const AnalogColumn& column) : m_column(&column) {
        if (column.logical) {
            m_logical.emplace(record.logical[column.channel]);
        } else {
            m_analog = &record.analog[column.channel];
        }
    }

    // The finite or non-finite value of a valid sample; none when invalid.
    std::optional<double> Read(uint32_t sample) {
        if (m_analog != nullptr) {
            if (!m_analog->IsValid(sample)) return std::nullopt;
            return m_analog->values[sample];
        }
        // States last many samples: the value is worked out once per transition.
        const LogicalTransition* state = m_logical->At(sample);
        if (state != m_lastState) {
            m_lastState = state;
            m_lastValue = LogicalStateValue(*m_column, state);
        }
        return m_lastValue;
    }

private:
    const AnalogColumn* m_column;
    const host::AnalogChannel* m_analog = nullptr;
    std::optional<host::TransitionCursor<LogicalTransition>> m_logical;
    const LogicalTransition* m_lastState = nullptr;
    std::optional<double> m_lastValue;
};

}  // namespace

void WriteDataRecords(const host::Record& record, const ChannelPlan& plan, const DataRecordEncoder& encoder,
                      OutputFile& out) {
    std::vector<AnalogColumnReader> analog;
    for (const AnalogColumn& column : plan.analog) analog.emplace_back(record, column);
    std::vector<host::TransitionCursor<DigitalTransition>> status;
    for (const StatusColumn& column : plan.status) status.emplace_back(record.digital[column.channel]);
    const double interval = record.sampleInterval;
    SampleValues values;
    values.analog.resize(analog.size());
    values.status.resize(status.size());
    std::string buffer;
    for (uint32_t sample = 0; sample < plan.sampleCount; ++sample) {
        values.number = sample + 1;
        values.timestamp = host::MillisecondsToMicroseconds(sample * interval);
        for (size_t i = 0; i < analog.size(); ++i) values.analog[i] = analog[i].Read(sample);
        for (size_t i = 0; i < status.size(); ++i)
            values.status[i] = host::DigitalLevel(status[i].At(sample)) == 1;
        encoder.Append(buffer, values);
        if (buffer.size() >= kFlushBytes) {
            out.Write(buffer);
            buffer.clear();
        }
    }
    out.Write(buffer);
}

}  // namespace cvdr::comtrade
