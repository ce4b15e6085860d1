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
// metadata, texts, record iterators) is owned by the reader and stays valid
// until then; the host never frees one of them.
//
// Indexes: getters that take an index do not check it. Channel indexes run
// from 0 to the matching count - 1, transition indexes from 0 to
// GetTransitionCount() - 1, sample indexes from 0 to GetSampleCount() - 1;
// anything else is undefined, as it is for the host's own arrays. The one
// exception is an analog channel with a sample shift (slot 12), which answers
// any index.
#ifndef DR_MVQ4_DISTURBANCE_DATA_READER_H
#define DR_MVQ4_DISTURBANCE_DATA_READER_H

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

// Calling convention and symbol decoration of the two exports. On 32-bit
// Windows the exports are __stdcall, which decorates them as
// _CreateDisturbanceDataReaderInstance@16 and _FreeDisturbanceDataReaderInstance@4.
// The plug-in exports them under exactly those names through its
// module-definition file (cmake/dr_mvq4.def), not through dllexport, which
// would export the undecorated names as well.
// Elsewhere they are plain C symbols exported from the shared library.
#if defined(_WIN32)
#define DR_MVQ4_CALL __stdcall
#if defined(DR_MVQ4_BUILDING_PLUGIN)
#define DR_MVQ4_API
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
    // The array position itself: what the iterator holds.
    Record* const* Position() const noexcept { return m_position; }

private:
    Record* const* m_position;
};

using RangeIterator = RecordIterator<RangeRecord>;
using DigitalTransitionIterator = RecordIterator<DigitalTransition>;
using LogicalTransitionIterator = RecordIterator<LogicalTransition>;

// Record-level texts. Slots 1 to 4 have a default implementation.
// Every text is UTF-8, owned by the reader, valid until the reader is freed.
class FileMetadataReader {
public:
    // slot 0: the record path as the host gave it.
    virtual const char* GetFileName() = 0;
    // slot 1: device name, three blanks, device version.
    virtual const char* GetDescription() { return ""; }
    // slot 2: the trigger time as the record writes it.
    virtual const char* GetTriggerTimeText() { return ""; }
    // slot 3: no extra texts: "" for any index.
    virtual const char* GetExtraText(int) { return ""; }
    // slot 4: the record's default x offset, in samples.
    virtual int GetDefaultXOffset() { return 0; }
    virtual ~FileMetadataReader() {}                           // slot 5
};

class ChannelMetadataReader {
public:
    // slot 0: display name (UTF-8) in the host's language, or the channel's
    // key in brackets when no device model names it. Owned by the channel.
    virtual const char* GetName() = 0;
    // slot 1: COLORREF 0x00BBGGRR.
    virtual uint32_t GetColor() = 0;
    virtual ~ChannelMetadataReader() {}                        // slot 2
};

// Runs of valid and invalid samples of one channel, built on first use.
class RangeMarker {
public:
    // slot 0: whether any run is invalid; false means every sample is valid.
    virtual bool HasInvalidRanges() = 0;
    // slots 1 and 2: the runs in sample order; the first starts at sample 0.
    // Iterators stay valid until the reader is freed.
    virtual RangeIterator GetRangesBegin() = 0;
    virtual RangeIterator GetRangesEnd() = 0;
    virtual ~RangeMarker() {}                                  // slot 3
};

// Channels are owned by their reader: the host never deletes one (slot 0 is
// called by the reader when it is freed).
class GenericChannelReader {
public:
    virtual ~GenericChannelReader() {}                         // slot 0
    // slot 1: the reader that owns the channel.
    virtual DisturbanceDataReader* GetReader() = 0;
    // slot 2: name and colour; owned by the channel.
    virtual ChannelMetadataReader* GetMetadata() = 0;
    // slot 3: runs of valid samples; owned by the channel.
    virtual RangeMarker* GetRangeMarker() = 0;
    // slot 4: number of samples of the channel.
    virtual uint32_t GetSampleCount() = 0;
    // slot 5: always 0.0: channels are not offset in time.
    virtual double GetOffset() = 0;
    // slot 6: the record's id of the channel (a device-model key or number).
    virtual int GetId() = 0;
    // slot 7: the record's key text, e.g. "Measurements/Currents/IL1".
    virtual const char* GetKey() = 0;
};

class AnalogChannelReader : public GenericChannelReader {
public:
    // slot 8: false for a sample the record does not hold (a gap, padding
    // before the first sample) and, with a shift, for indexes shifted out.
    virtual bool IsSampleValid(uint32_t index) = 0;
    // slot 9: the scaled value; meaningful only where slot 8 says valid.
    virtual double GetSampleValue(uint32_t index) = 0;
    // slot 10: unit text (UTF-8), owned by the channel.
    virtual const char* GetUnit() = 0;
    // slot 11: the largest absolute sample value (NaN ignored).
    virtual double GetMaxMagnitude() = 0;
    // slot 12: later reads of slots 8 and 9 address index - shift.
    virtual void SetSampleShift(int shift) = 0;
};

// Channels stored as a list of transitions. Digital and logical channels
// share the slots; only the record type behind the iterators differs.
template <typename Transition>
class TransitionalChannelReader : public GenericChannelReader {
public:
    using Iterator = RecordIterator<Transition>;
    // slot 8: number of transitions.
    virtual int GetTransitionCount() = 0;
    // slot 9: first sample of transition `index`.
    virtual uint32_t GetTransitionSample(int index) = 0;
    // slot 10: whether the state in force at `sample` is the invalid one.
    virtual bool IsSampleInvalid(uint32_t sample) = 0;
    // slots 11 and 12: the transitions in sample order; the records they
    // point to are owned by the channel, valid until the reader is freed.
    virtual Iterator GetTransitionsBegin() = 0;
    virtual Iterator GetTransitionsEnd() = 0;
    // slot 13: the transition in force at `sample` (the last one starting
    // at or before it).
    virtual Iterator FindTransition(uint32_t sample) = 0;
};

class DigitalChannelReader : public TransitionalChannelReader<DigitalTransition> {};
class LogicalChannelReader : public TransitionalChannelReader<LogicalTransition> {};

// One decoded record.
class DisturbanceDataReader {
public:
    // slot 0: destroys every channel. Only FreeDisturbanceDataReaderInstance
    // calls it; the host never deletes a reader itself.
    virtual ~DisturbanceDataReader() {}
    // slots 1 to 6: channels by kind; index from 0 to count - 1. The channel
    // is owned by the reader.
    virtual int GetAnalogChannelCount() = 0;
    virtual AnalogChannelReader* GetAnalogChannel(int index) = 0;
    virtual int GetDigitalChannelCount() = 0;
    virtual DigitalChannelReader* GetDigitalChannel(int index) = 0;
    virtual int GetLogicalChannelCount() = 0;
    virtual LogicalChannelReader* GetLogicalChannel(int index) = 0;
    // slot 7: samples per channel, the same for every channel.
    virtual uint32_t GetSampleCount() = 0;
    // slot 8: index of the trigger sample.
    virtual uint32_t GetTriggerSample() = 0;
    // slot 9: (sample - trigger sample) * sample interval; negative before
    // the trigger. Any sample index is answered.
    virtual double GetSampleTime(uint32_t sample) = 0;
    // slot 10: time between two samples in milliseconds.
    virtual double GetSampleInterval() = 0;
    // slot 11: always true; writes the trigger's calendar time as the record
    // states it and its milliseconds (0 to 999).
    virtual bool GetTriggerTime(tm* time, double* milliseconds) = 0;
    // slot 12: always false and writes nothing: the records carry no second
    // time stamp.
    virtual bool GetSecondaryTime(tm* time, double* milliseconds) = 0;
    // slot 13: always "ENG". The slot names the language of the reader's own
    // fixed texts, which are English; the channel names follow the language
    // the host passed to the create call.
    virtual const char* GetLanguage() = 0;
    // slot 14: record-level texts; owned by the reader.
    virtual FileMetadataReader* GetFileMetadata() = 0;
    // slot 15: true when the record states its time zone; both outputs (UTC
    // offset and daylight-saving offset, in seconds) are written either way,
    // 0 when it does not.
    virtual bool GetTimeZone(int* offset, int* dstOffset) = 0;
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
