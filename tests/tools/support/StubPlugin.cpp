// A stand-in decoder plug-in for cvdr's tests, built from the host header
// only. It serves one fixed record with values a real record cannot easily
// carry (numbers that are not finite, a name that is not UTF-8, a secondary
// time, an empty channel) and echoes what the host passed: the path as the
// file name, the option string as the description (both re-encoded as UTF-8)
// and the language code. A path ending in "refuse.rec" makes the create call
// fail. Every free call appends "free" to the file named by $CVDR_STUB_LOG.
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace {

std::string ToUtf8(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        const auto c = static_cast<uint32_t>(*text);
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        const uint32_t lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
        for (int i = tail - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    }
    return out;
}

// Records plus the pointer array that the host's iterators walk.
template <typename Record>
struct RecordList {
    explicit RecordList(std::vector<Record> list) : records(std::move(list)) {
        for (Record& record : records) pointers.push_back(&record);
    }
    RecordIterator<Record> Begin() const { return RecordIterator<Record>(pointers.data()); }
    RecordIterator<Record> End() const { return RecordIterator<Record>(pointers.data() + pointers.size()); }
    std::vector<Record> records;
    std::vector<Record*> pointers;
};

struct ChannelData {
    std::string name;
    uint32_t color;
    int id;
    std::string key;
    uint32_t sampleCount;
    double offset;
    std::vector<RangeRecord> ranges;
};

class StubMetadata : public ChannelMetadataReader, public RangeMarker {
public:
    explicit StubMetadata(const ChannelData& data) : m_data(data), m_ranges(data.ranges) {}
    const char* GetName() override { return m_data.name.c_str(); }
    uint32_t GetColor() override { return m_data.color; }
    bool HasInvalidRanges() override {
        return m_ranges.records.size() > 1 || (m_ranges.records.size() == 1 && !m_ranges.records[0].valid);
    }
    RangeIterator GetRangesBegin() override { return m_ranges.Begin(); }
    RangeIterator GetRangesEnd() override { return m_ranges.End(); }

    ChannelData m_data;
    RecordList<RangeRecord> m_ranges;
};

template <typename Interface>
class StubChannel : public Interface {
public:
    StubChannel(DisturbanceDataReader* reader, const ChannelData& data) : m_reader(reader), m_meta(data) {}
    DisturbanceDataReader* GetReader() override { return m_reader; }
    ChannelMetadataReader* GetMetadata() override { return &m_meta; }
    RangeMarker* GetRangeMarker() override { return &m_meta; }
    uint32_t GetSampleCount() override { return m_meta.m_data.sampleCount; }
    double GetOffset() override { return m_meta.m_data.offset; }
    int GetId() override { return m_meta.m_data.id; }
    const char* GetKey() override { return m_meta.m_data.key.c_str(); }

private:
    DisturbanceDataReader* m_reader;
    StubMetadata m_meta;
};

class StubAnalog : public StubChannel<AnalogChannelReader> {
public:
    StubAnalog(DisturbanceDataReader* reader, const ChannelData& data, std::vector<double> values,
               std::string valid)
        : StubChannel(reader, data), m_values(std::move(values)), m_valid(std::move(valid)) {}
    // Starts with a shift that hides every sample: a host that does not set
    // the shift to 0 reads only zeros.
    bool IsSampleValid(uint32_t i) override { return m_shift == 0 && m_valid.at(i) == '1'; }
    double GetSampleValue(uint32_t i) override { return m_shift == 0 ? m_values.at(i) : 0.0; }
    const char* GetUnit() override { return m_values.empty() ? "" : "kA"; }
    double GetMaxMagnitude() override { return m_values.empty() ? 0.0 : m_values.at(2); }
    void SetSampleShift(int shift) override { m_shift = shift; }

private:
    std::vector<double> m_values;
    std::string m_valid;
    int m_shift = 3;
};

template <typename Interface, typename Transition>
class StubTransitional : public StubChannel<Interface> {
public:
    using Iterator = RecordIterator<Transition>;
    StubTransitional(DisturbanceDataReader* reader, const ChannelData& data,
                     std::vector<Transition> transitions)
        : StubChannel<Interface>(reader, data), m_list(std::move(transitions)) {}
    int GetTransitionCount() override { return static_cast<int>(m_list.records.size()); }
    uint32_t GetTransitionSample(int i) override {
        return m_list.records.at(static_cast<size_t>(i)).firstSample;
    }
    bool IsSampleInvalid(uint32_t) override { return false; }
    Iterator GetTransitionsBegin() override { return m_list.Begin(); }
    Iterator GetTransitionsEnd() override { return m_list.End(); }
    Iterator FindTransition(uint32_t) override { return m_list.Begin(); }

private:
    RecordList<Transition> m_list;
};

// 2001-02-03 04:05:ss, a Saturday, day 33 of the year.
bool Calendar(tm* time, double* milliseconds, int second, int isdst, double ms) {
    *time = tm{};
    time->tm_sec = second, time->tm_min = 5, time->tm_hour = 4, time->tm_mday = 3, time->tm_mon = 1;
    time->tm_year = 101, time->tm_wday = 6, time->tm_yday = 33, time->tm_isdst = isdst;
    *milliseconds = ms;
    return true;
}

class StubReader : public DisturbanceDataReader, public FileMetadataReader {
public:
    StubReader(const std::string& path, const std::string& options, const char* language);
    int GetAnalogChannelCount() override { return 2; }
    AnalogChannelReader* GetAnalogChannel(int i) override { return m_analog[i == 0 ? 0 : 1].get(); }
    int GetDigitalChannelCount() override { return 1; }
    DigitalChannelReader* GetDigitalChannel(int) override { return m_digital.get(); }
    int GetLogicalChannelCount() override { return 1; }
    LogicalChannelReader* GetLogicalChannel(int) override { return m_logical.get(); }
    uint32_t GetSampleCount() override { return 5; }
    uint32_t GetTriggerSample() override { return 2; }
    double GetSampleTime(uint32_t sample) override { return (static_cast<int64_t>(sample) - 2) * 0.25; }
    double GetSampleInterval() override { return 0.25; }
    bool GetTriggerTime(tm* time, double* ms) override { return Calendar(time, ms, 6, 0, 789.5); }
    bool GetSecondaryTime(tm* time, double* ms) override { return Calendar(time, ms, 7, -1, 0.1); }
    const char* GetLanguage() override { return m_language.c_str(); }
    FileMetadataReader* GetFileMetadata() override { return this; }
    const char* GetFileName() override { return m_name.c_str(); }
    const char* GetDescription() override { return m_description.c_str(); }
    const char* GetTriggerTimeText() override { return "2001-02-03  04:05:06.789"; }
    int GetDefaultXOffset() override { return -4; }
    bool GetTimeZone(int* offset, int* dstOffset) override {
        *offset = -3600;
        *dstOffset = 1800;
        return false;
    }

private:
    std::string m_name;
    std::string m_description;
    std::string m_language;
    std::unique_ptr<AnalogChannelReader> m_analog[2];
    std::unique_ptr<DigitalChannelReader> m_digital;
    std::unique_ptr<LogicalChannelReader> m_logical;
};

StubReader::StubReader(const std::string& path, const std::string& options, const char* language)
    : m_name(path), m_description(options), m_language(language) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ChannelData current{
        "I\xFFL1", 0x01336699, -7, "k\"ey\\", 5, 0.5, {{true, 0}, {false, 1}, {true, 2}, {false, 4}}};
    m_analog[0] =
        std::make_unique<StubAnalog>(this, current, std::vector<double>{1.5, nan, inf, -inf, 0.1}, "10110");
    m_analog[1] =
        std::make_unique<StubAnalog>(this, ChannelData{"", 0, 0, "", 0, 0.0, {}}, std::vector<double>{}, "");
    const ChannelData trip{"Trip", 0x800000, 3, "BI", 5, 0.0, {{true, 0}, {false, 4}}};
    m_digital = std::make_unique<StubTransitional<DigitalChannelReader, DigitalTransition>>(
        this, trip, std::vector<DigitalTransition>{{1, 0}, {2, 2}, {0, 4}});
    const ChannelData mode{"Mode", 0x800000, 4, "LS", 5, 0.0, {{true, 0}, {false, 2}, {true, 3}}};
    m_logical = std::make_unique<StubTransitional<LogicalChannelReader, LogicalTransition>>(
        this, mode, std::vector<LogicalTransition>{{"3", 0}, {"", 2}, {"\xCE\xA9", 3}});
}

}  // namespace

extern "C" {

DR_MVQ4_API bool DR_MVQ4_CALL CreateDisturbanceDataReaderInstance(DisturbanceDataReader** out,
                                                                  const wchar_t* path, const char* language,
                                                                  const wchar_t* options) {
    const std::string file = ToUtf8(path);
    if (file.size() >= 10 && file.compare(file.size() - 10, 10, "refuse.rec") == 0) return false;
    *out = new StubReader(file, ToUtf8(options), language);
    return true;
}

DR_MVQ4_API void DR_MVQ4_CALL FreeDisturbanceDataReaderInstance(DisturbanceDataReader* reader) {
    delete reader;
    const char* log = std::getenv("CVDR_STUB_LOG");
    std::FILE* file = log != nullptr && reader != nullptr ? std::fopen(log, "a") : nullptr;
    if (file != nullptr) {
        std::fputs("free\n", file);
        std::fclose(file);
    }
}
}
