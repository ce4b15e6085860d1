// Host-facing interfaces of the disturbance-record decoder plug-in.
//
// A record viewer (the host) loads the plug-in library, resolves its two
// exports and reads one decoded record through the abstract classes below.
// The virtual tables are the binary interface between host and plug-in: the
// order of the virtual functions in every class is fixed and written down
// beside each declaration as its slot number. Never reorder, insert or remove
// a virtual function here.
//
// Threads: nothing here is thread-safe. A reader is created, read and freed
// on one thread; even reads mutate state (ranges are built on first use).
//
// Ownership: the host owns a reader from a successful create call until it
// passes it to the free call. Every pointer handed out by a reader (channels,
// metadata, texts, record iterators) stays valid until then.
#ifndef DR_MVQ4_DISTURBANCE_DATA_READER_H
#define DR_MVQ4_DISTURBANCE_DATA_READER_H

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

// Calling convention and symbol decoration of the two exports. On 32-bit
// Windows the exports are __stdcall, which decorates them as
// _CreateDisturbanceDataReaderInstance@16 and _FreeDisturbanceDataReaderInstance@4.
// Elsewhere they are plain C symbols exported from the shared library.
#if defined(_WIN32)
#define DR_MVQ4_CALL __stdcall
#if defined(DR_MVQ4_BUILDING_PLUGIN)
#define DR_MVQ4_API __declspec(dllexport)
#else
#define DR_MVQ4_API __declspec(dllimport)
#endif
#else
#define DR_MVQ4_CALL
#define DR_MVQ4_API __attribute__((visibility("default")))
#endif

class DisturbanceDataReader;
class AnalogChannelReader;
class DigitalChannelReader;
class LogicalChannelReader;

// One run of valid or invalid samples: starts at firstSample and lasts until
// the next record's firstSample (or the end of the channel).
struct RangeRecord {
    bool valid;            // u8 boolean
    uint32_t firstSample;
};

// State of a digital channel from firstSample on.
enum DigitalState : uint32_t {
    kDigitalInvalid = 0,
    kDigitalLow = 1,
    kDigitalHigh = 2,
};

struct DigitalTransition {
    uint32_t state;        // a DigitalState value
    uint32_t firstSample;
};

// State of a logical channel from firstSample on; an empty text is the
// invalid (unknown) state.
struct LogicalTransition {
    std::string text;      // UTF-8
    uint32_t firstSample;
};

// Iterator over a channel's contiguous array of record pointers. It is a
// class-type value one pointer wide and is returned by value.
template <typename Record>
class RecordIterator {
public:
    RecordIterator() noexcept : m_position(nullptr) {}
    explicit RecordIterator(Record* const* position) noexcept : m_position(position) {}

    Record& operator*() const { return **m_position; }
    Record* operator->() const { return *m_position; }
    RecordIterator& operator++() { ++m_position; return *this; }
    RecordIterator& operator--() { --m_position; return *this; }
    RecordIterator operator++(int) { RecordIterator old(*this); ++m_position; return old; }
    std::ptrdiff_t operator-(const RecordIterator& other) const { return m_position - other.m_position; }
    bool operator==(const RecordIterator& other) const { return m_position == other.m_position; }
    bool operator!=(const RecordIterator& other) const { return m_position != other.m_position; }

private:
    Record* const* m_position;
};

using RangeIterator = RecordIterator<RangeRecord>;
using DigitalTransitionIterator = RecordIterator<DigitalTransition>;
using LogicalTransitionIterator = RecordIterator<LogicalTransition>;

// Record-level texts. Slots 1 to 4 have a default implementation.
class FileMetadataReader {
public:
    virtual const char* GetFileName() = 0;                     // slot 0
    virtual const char* GetDescription() { return ""; }        // slot 1
    virtual const char* GetTriggerTimeText() { return ""; }    // slot 2
    virtual const char* GetExtraText(int) { return ""; }       // slot 3
    virtual int GetDefaultXOffset() { return 0; }              // slot 4: samples
    virtual ~FileMetadataReader() {}                           // slot 5
};

class ChannelMetadataReader {
public:
    virtual const char* GetName() = 0;                         // slot 0: UTF-8
    virtual uint32_t GetColor() = 0;                           // slot 1: COLORREF 0x00BBGGRR
    virtual ~ChannelMetadataReader() {}                        // slot 2
};

// Runs of valid and invalid samples of one channel, built on first use.
class RangeMarker {
public:
    virtual bool HasInvalidRanges() = 0;                       // slot 0
    virtual RangeIterator GetRangesBegin() = 0;                // slot 1
    virtual RangeIterator GetRangesEnd() = 0;                  // slot 2
    virtual ~RangeMarker() {}                                  // slot 3
};

class GenericChannelReader {
public:
    virtual ~GenericChannelReader() {}                         // slot 0
    virtual DisturbanceDataReader* GetReader() = 0;            // slot 1
    virtual ChannelMetadataReader* GetMetadata() = 0;          // slot 2
    virtual RangeMarker* GetRangeMarker() = 0;                 // slot 3
    virtual uint32_t GetSampleCount() = 0;                     // slot 4
    virtual double GetOffset() = 0;                            // slot 5
    virtual int GetId() = 0;                                   // slot 6
    virtual const char* GetKey() = 0;                          // slot 7
};

class AnalogChannelReader : public GenericChannelReader {
public:
    virtual bool IsSampleValid(uint32_t index) = 0;            // slot 8
    virtual double GetSampleValue(uint32_t index) = 0;         // slot 9
    virtual const char* GetUnit() = 0;                         // slot 10: UTF-8
    virtual double GetMaxMagnitude() = 0;                      // slot 11
    virtual void SetSampleShift(int shift) = 0;                // slot 12
};

// Channels stored as a list of transitions. Digital and logical channels
// share the slots; only the record type behind the iterators differs.
template <typename Transition>
class TransitionalChannelReader : public GenericChannelReader {
public:
    using Iterator = RecordIterator<Transition>;
    virtual int GetTransitionCount() = 0;                      // slot 8
    virtual uint32_t GetTransitionSample(int index) = 0;       // slot 9
    virtual bool IsSampleInvalid(uint32_t sample) = 0;         // slot 10
    virtual Iterator GetTransitionsBegin() = 0;                // slot 11
    virtual Iterator GetTransitionsEnd() = 0;                  // slot 12
    virtual Iterator FindTransition(uint32_t sample) = 0;      // slot 13: transition in force
};

class DigitalChannelReader : public TransitionalChannelReader<DigitalTransition> {};
class LogicalChannelReader : public TransitionalChannelReader<LogicalTransition> {};

// One decoded record.
class DisturbanceDataReader {
public:
    virtual ~DisturbanceDataReader() {}                        // slot 0
    virtual int GetAnalogChannelCount() = 0;                   // slot 1
    virtual AnalogChannelReader* GetAnalogChannel(int index) = 0;    // slot 2
    virtual int GetDigitalChannelCount() = 0;                  // slot 3
    virtual DigitalChannelReader* GetDigitalChannel(int index) = 0;  // slot 4
    virtual int GetLogicalChannelCount() = 0;                  // slot 5
    virtual LogicalChannelReader* GetLogicalChannel(int index) = 0;  // slot 6
    virtual uint32_t GetSampleCount() = 0;                     // slot 7
    virtual uint32_t GetTriggerSample() = 0;                   // slot 8
    virtual double GetSampleTime(uint32_t sample) = 0;         // slot 9: relative to the trigger
    virtual double GetSampleInterval() = 0;                    // slot 10
    virtual bool GetTriggerTime(tm* time, double* milliseconds) = 0;    // slot 11
    virtual bool GetSecondaryTime(tm* time, double* milliseconds) = 0;  // slot 12
    virtual const char* GetLanguage() = 0;                     // slot 13
    virtual FileMetadataReader* GetFileMetadata() = 0;         // slot 14
    virtual bool GetTimeZone(int* offset, int* dstOffset) = 0; // slot 15: seconds
};

// The two exports.
//
// CreateDisturbanceDataReaderInstance loads the record at `path` (wide,
// NUL-terminated) naming its channels in `language` (three letters, e.g.
// "ENG") and tuned by `options` (command-line syntax, may be null). On
// success it stores a new reader in *out and returns true; on failure it
// returns false and leaves *out untouched.
//
// FreeDisturbanceDataReaderInstance destroys a reader returned by the create
// call, with every channel; a null pointer is ignored.
extern "C" {
typedef bool(DR_MVQ4_CALL* CreateDisturbanceDataReaderInstanceFn)(
    DisturbanceDataReader** out, const wchar_t* path, const char* language, const wchar_t* options);
typedef void(DR_MVQ4_CALL* FreeDisturbanceDataReaderInstanceFn)(DisturbanceDataReader* reader);

DR_MVQ4_API bool DR_MVQ4_CALL CreateDisturbanceDataReaderInstance(
    DisturbanceDataReader** out, const wchar_t* path, const char* language, const wchar_t* options);
DR_MVQ4_API void DR_MVQ4_CALL FreeDisturbanceDataReaderInstance(DisturbanceDataReader* reader);
}

#endif  // DR_MVQ4_DISTURBANCE_DATA_READER_H
