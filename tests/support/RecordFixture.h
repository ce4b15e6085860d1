// Fixture writer: builds record XML documents from a few calls, so that a test
// states only what it is about. A fresh builder holds a complete, valid record
// with no channels: device, timing, trigger, empty analog and digital headers,
// traces, events and state image. Every value is written as text, so a test
// can also write values that are not numbers.
#ifndef DR_MVQ4_TESTS_SUPPORT_RECORD_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_RECORD_FIXTURE_H

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fixture {

struct Scale {
    std::string factor = "1";
    std::string offset = "0";
    std::string refEnable;  // empty: attribute absent
};

struct Block {
    std::string sampleCount;  // sample number of the first value
    std::string values;       // blank-separated raw integers
};

struct Analog {
    std::string id;
    std::string key;            // _key; empty: absent
    std::string unitId = "0";   // empty: absent
    std::string unit;           // _unit; empty: absent
    std::string xOffsetEnabled; // empty: absent
    std::vector<Scale> scales = {Scale{}};
    std::vector<Block> blocks;  // the trace's Data blocks
    bool withTrace = true;      // false: no Trace element for the channel
};

struct Event {
    Event(std::string id_, std::string value_, std::string previousValue_, std::string key_ = "")
        : id(std::move(id_)), value(std::move(value_)), previousValue(std::move(previousValue_)), key(std::move(key_)) {}
    std::string id;
    std::string value;
    std::string previousValue;
    std::string key;  // _key; empty: absent
    std::string no = "1";
};

// Sets the attribute, appending it when missing.
void SetAttribute(pugi::xml_node node, const std::string& name, const std::string& value);
// Removes the element, or one attribute of it when `attribute` is not empty.
void RemoveNode(pugi::xml_node node, const std::string& attribute);

// Blank-separated decimal text of `values`.
std::string Values(const std::vector<int64_t>& values);

class RecordBuilder {
public:
    // Defaults: device "CVR87" "V04.10.02"; sampleDuration 0.001; ticks of one
    // microsecond (timeAdjust 1 / 1000000); trigger 2023-11-14 22:13:20.250 UTC
    // at sample number 1100; numberOfSample 0 until analog channels are added.
    RecordBuilder();
    RecordBuilder(const RecordBuilder& other);

    RecordBuilder& Device(const std::string& name, const std::string& version);
    RecordBuilder& Timing(const std::string& sampleDuration, const std::string& adjust1, const std::string& adjust2);
    RecordBuilder& Trigger(const std::string& timeCount, const std::string& timeOffset, const std::string& timeSample);
    RecordBuilder& TimeZone(const std::string& timezoneOffset, const std::string& dstOffset);
    RecordBuilder& LostEvents(const std::string& count);
    // numberOfSample written into every Trace's TGeneral (set automatically by
    // Analog() to the largest sample count seen, unless set explicitly).
    RecordBuilder& NumberOfSamples(const std::string& count);
    RecordBuilder& AnalogHeaderAttribute(const std::string& name, const std::string& value);

    RecordBuilder& AddAnalog(const Analog& analog);
    // Convenience: one channel with one block starting at `firstSample`.
    RecordBuilder& AddAnalog(const std::string& id, const std::string& key, const std::vector<int64_t>& values,
                             int64_t firstSample = 1000);

    RecordBuilder& AddDigital(const std::string& id, const std::string& key, const std::string& dataLength = "",
                              const std::string& normalState = "0");
    RecordBuilder& AddStateImage(const std::string& id, const std::string& value);
    RecordBuilder& AddEventSet(const std::string& timeSample, const std::vector<Event>& events);

    // Removes the element at `path` below the root ("DistData/Events"), or one
    // attribute of it when `attribute` is given.
    RecordBuilder& Remove(const std::string& path, const std::string& attribute = "");
    // Sets an attribute of the element at `path`, creating the elements.
    RecordBuilder& Set(const std::string& path, const std::string& attribute, const std::string& value);

    std::string Xml() const;

private:
    pugi::xml_node Path(const std::string& path, bool create);
    void UpdateNumberOfSamples();

    pugi::xml_document m_document;
    std::string m_numberOfSamples;
    bool m_numberOfSamplesFixed = false;
};

// Hostile records. `channels` analog channels of one value each and one more
// `gap` samples later, the gap filled as not valid; gap + 2 samples declared.
RecordBuilder GapBomb(int channels, int64_t gap);
// `signals` digital signals (multi-bit with `logical`) with one change each and
// one analog channel of one value, all of `samples` declared samples.
RecordBuilder DeclaredSamples(int signals, int64_t samples, bool logical);

// A folder of its own (named "dr_mvq4-test-" and a random number) in
// `parent`, the system's folder for temporary files by default, removed with
// everything in it when the object dies.
class TempDir {
public:
    explicit TempDir(const std::string& parent = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes `bytes` to Path()/name and returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

// Writes `bytes` to the file at `path`, making the folders above it.
void WriteFile(const std::string& path, const std::string& bytes);

// Whether the file system of `folder` keeps two names that differ only in
// case apart (found by writing two such files there and removing them).
bool TellsNamesApartByCase(const std::string& folder);

// Sets an environment variable (null: unsets it) until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

std::wstring Wide(const std::string& utf8);

}  // namespace fixture

#endif
