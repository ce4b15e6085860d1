#include "SyntheticRecord.h"

#include <cmath>
#include <string>
#include <vector>

namespace bench {
namespace {

template <typename Record>
struct RecordList {
    std::vector<Record> records;
    std::vector<Record*> pointers;
    void Seal() {
        for (Record& record : records) pointers.push_back(&record);
    }
    RecordIterator<Record> Begin() { return RecordIterator<Record>(pointers.data()); }
    RecordIterator<Record> End() { return RecordIterator<Record>(pointers.data() + pointers.size()); }
};

class Metadata : public ChannelMetadataReader, public RangeMarker {
public:
    Metadata(std::string name, uint32_t color) : m_name(std::move(name)), m_color(color) {}
    const char* GetName() override { return m_name.c_str(); }
    uint32_t GetColor() override { return m_color; }
    bool HasInvalidRanges() override { return m_ranges.records.size() > 1; }
    RangeIterator GetRangesBegin() override { return m_ranges.Begin(); }
    RangeIterator GetRangesEnd() override { return m_ranges.End(); }
    RecordList<RangeRecord> m_ranges;

private:
    std::string m_name;
    uint32_t m_color;
};

template <typename Interface>
class Channel : public Interface {
public:
    Channel(DisturbanceDataReader* reader, const std::string& name, uint32_t color, uint32_t count)
        : m_reader(reader), m_meta(name, color), m_count(count) {}
    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return &m_meta; }
    RangeMarker* GetRangeMarker() override { return &m_meta; }
    uint32_t GetSampleCount() override { return m_count; }
    double GetOffset() override { return 0.0; }
    int GetId() override { return 0; }
    const char* GetKey() override { return ""; }

protected:
    DisturbanceDataReader* m_reader;
    Metadata m_meta;
    uint32_t m_count;
};

class Analog : public Channel<AnalogChannelReader> {
public:
    Analog(DisturbanceDataReader* reader, int index, uint32_t count, double interval)
        : Channel(reader, "U" + std::to_string(index), 0x000000FFu << (8 * (index % 3)), count),
          m_values(count),
          m_valid(count, true) {
        for (uint32_t i = 0; i < count; ++i) {
            m_values[i] = (100.0 + index) * std::sin(2 * M_PI * 50.0 * i * interval / 1000.0 + index);
        }
        const uint32_t gapStart = count / 2, gapEnd = count / 2 + count / 100;
        for (uint32_t i = gapStart; i < gapEnd; ++i) m_valid[i] = false;
        m_meta.m_ranges.records = {{true, 0}, {false, gapStart}, {true, gapEnd}};
        m_meta.m_ranges.Seal();
    }
    bool IsSampleValid(uint32_t i) override { return i < m_count && m_valid[i]; }
    double GetSampleValue(uint32_t i) override { return i < m_count ? m_values[i] : 0.0; }
    const char* GetUnit() override { return "kV"; }
    double GetMaxMagnitude() override { return 100.0; }
    void SetSampleShift(int) override {}

private:
    std::vector<double> m_values;
    std::vector<bool> m_valid;
};

template <typename Interface, typename Transition>
class Transitional : public Channel<Interface> {
public:
    Transitional(DisturbanceDataReader* reader, const std::string& name, uint32_t count,
                 std::vector<Transition> list)
        : Channel<Interface>(reader, name, 0x800000, count) {
        m_list.records = std::move(list);
        m_list.Seal();
        this->m_meta.m_ranges.records = {{true, 0}};
        this->m_meta.m_ranges.Seal();
    }
    int GetTransitionCount() override { return static_cast<int>(m_list.records.size()); }
    uint32_t GetTransitionSample(int i) override {
        return m_list.records[static_cast<size_t>(i)].firstSample;
    }
    bool IsSampleInvalid(uint32_t) override { return false; }
    RecordIterator<Transition> GetTransitionsBegin() override { return m_list.Begin(); }
    RecordIterator<Transition> GetTransitionsEnd() override { return m_list.End(); }
    RecordIterator<Transition> FindTransition(uint32_t) override { return m_list.Begin(); }

private:
    RecordList<Transition> m_list;
};

class File : public FileMetadataReader {
public:
    const char* GetFileName() override { return "synthetic.xml"; }
    const char* GetDescription() override { return "BENCH   V1"; }
    const char* GetTriggerTimeText() override { return "2024-01-02  03:04:05.678"; }
};

class Reader : public DisturbanceDataReader {
public:
    explicit Reader(const RecordShape& shape);
    int GetAnalogChannelCount() override { return static_cast<int>(m_analog.size()); }
    AnalogChannelReader* GetAnalogChannel(int i) override { return m_analog[static_cast<size_t>(i)].get(); }
    int GetDigitalChannelCount() override { return static_cast<int>(m_digital.size()); }
    DigitalChannelReader* GetDigitalChannel(int i) override {
        return m_digital[static_cast<size_t>(i)].get();
    }
    int GetLogicalChannelCount() override { return static_cast<int>(m_logical.size()); }
    LogicalChannelReader* GetLogicalChannel(int i) override {
        return m_logical[static_cast<size_t>(i)].get();
    }
    uint32_t GetSampleCount() override { return m_shape.samples; }
    uint32_t GetTriggerSample() override { return m_shape.samples / 10; }
    double GetSampleTime(uint32_t s) override {
        return (static_cast<double>(s) - static_cast<double>(GetTriggerSample())) * m_shape.interval;
    }
    double GetSampleInterval() override { return m_shape.interval; }
    bool GetTriggerTime(tm* time, double* ms) override {
        *time = tm{};
        time->tm_year = 124, time->tm_mday = 2, time->tm_hour = 3, time->tm_min = 4, time->tm_sec = 5;
        *ms = 678.0;
        return true;
    }
    bool GetSecondaryTime(tm*, double*) override { return false; }
    const char* GetLanguage() override { return "ENG"; }
    FileMetadataReader* GetFileMetadata() override { return &m_file; }
    bool GetTimeZone(int* offset, int* dst) override {
        *offset = 3600;
        *dst = 0;
        return true;
    }

private:
    RecordShape m_shape;
    File m_file;
    std::vector<std::unique_ptr<AnalogChannelReader>> m_analog;
    std::vector<std::unique_ptr<DigitalChannelReader>> m_digital;
    std::vector<std::unique_ptr<LogicalChannelReader>> m_logical;
};

Reader::Reader(const RecordShape& shape) : m_shape(shape) {
    for (int i = 0; i < shape.analog; ++i)
        m_analog.push_back(std::make_unique<Analog>(this, i, shape.samples, shape.interval));
    for (int i = 0; i < shape.digital; ++i) {
        std::vector<DigitalTransition> list;
        const uint32_t period = 1000u * static_cast<uint32_t>(i + 1);  // toggles every 1000 to 8000 samples
        for (uint32_t s = 0, k = 0; s < shape.samples; s += period, ++k)
            list.push_back({k % 2 ? kDigitalHigh : kDigitalLow, s});
        m_digital.push_back(std::make_unique<Transitional<DigitalChannelReader, DigitalTransition>>(
            this, "D" + std::to_string(i), shape.samples, std::move(list)));
    }
    for (int i = 0; i < shape.logical; ++i) {
        std::vector<LogicalTransition> list;
        for (uint32_t s = 0, k = 0; s < shape.samples; s += 50000, ++k)
            list.push_back({std::to_string(k % 5), s});
        m_logical.push_back(std::make_unique<Transitional<LogicalChannelReader, LogicalTransition>>(
            this, "L" + std::to_string(i), shape.samples, std::move(list)));
    }
}

}  // namespace

std::unique_ptr<DisturbanceDataReader> MakeSyntheticRecord(const RecordShape& shape) {
    return std::make_unique<Reader>(shape);
}

}  // namespace bench
