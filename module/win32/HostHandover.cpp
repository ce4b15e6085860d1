// The reader as the viewer sees it on 32-bit Windows.
//
// The viewer is built with Microsoft's compiler and calls the interfaces of
// dr_mvq4/DisturbanceDataReader.h through virtual tables laid out the way that
// compiler lays them out. GCC's layout differs in two ways that matter: a
// virtual destructor takes two slots instead of one, and a member function
// returning a class (the one-pointer record iterators) returns it in a
// register instead of through a hidden pointer. The logical transition
// record also holds that compiler's std::string, not ours.
//
// So the host never receives our objects. It receives adapters: plain
// structures whose first member points to a table of functions written out
// below slot by slot, each a __thiscall function ("this" in ECX, arguments
// on the stack, callee pops). The adapters forward to the reader and its
// channels, which keep their own layout. They are built once per load, right
// after the reader, and freed with it.
//
// What the host's compiler does, and what each table entry matches:
//   - A virtual destructor is one slot: the scalar deleting destructor,
//     taking one unsigned flags argument (bit 0: free the memory) and
//     returning `this`.
//   - A class-type result is written through a hidden pointer passed as the
//     first stack argument after `this`; the function returns that pointer in
//     EAX.
//   - bool results come in AL, int and pointer results in EAX, double results
//     in ST(0) (GCC's i386 defaults for these types).
//   - Record layouts (offsets in bytes):
//       RangeRecord        0 valid (u8), 4 firstSample (u32)      size 8
//       DigitalTransition  0 state (u32), 4 firstSample (u32)    size 8
//       LogicalTransition  0 text (std::string, 24 bytes), 24 firstSample (u32)
//                                                                size 28
//     The first two are the same for both compilers and are handed over as
//     the channel stores them. The string of the third is laid out as the
//     host's x86 release-mode std::string: a 16-byte union of the text buffer
//     and a pointer, then size (u32), then capacity (u32); the text sits in
//     the buffer when capacity < 16, behind the pointer otherwise, always
//     NUL-terminated.
//   - Iterators are one pointer: a position in an array of record pointers.
#include "module/HostHandover.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

// GCC applies thiscall to free functions too, but flags it under -pedantic
// as meant for member functions; here it is meant for free functions.
#pragma GCC diagnostic ignored "-Wattributes"
#define DR_MVQ4_THISCALL __attribute__((thiscall))

namespace {

using Slot = void (*)();

// Every interface object: the table pointer first.
struct HostObject {
    const Slot* table;
};

// An iterator result as the host's compiler passes it back.
struct HostIterator {
    const void* position;
};

struct HostString {
    union {
        char buffer[16];
        char* pointer;
    } text;
    uint32_t size;
    uint32_t capacity;
};
static_assert(sizeof(HostString) == 24, "the host's std::string is 24 bytes");

struct HostLogicalTransition {
    HostString text;
    uint32_t firstSample;
};
static_assert(offsetof(HostLogicalTransition, firstSample) == 24 && sizeof(HostLogicalTransition) == 28,
              "the host's logical transition record");
static_assert(sizeof(RangeRecord) == 8 && offsetof(RangeRecord, firstSample) == 4, "range record");
static_assert(sizeof(DigitalTransition) == 8 && offsetof(DigitalTransition, firstSample) == 4,
              "digital transition record");

template <typename Function>
Slot AsSlot(Function function) {
    return reinterpret_cast<Slot>(function);
}

struct ReaderAdapter;

struct FileMetadataAdapter : HostObject {
    FileMetadataReader* target = nullptr;
};

struct ChannelMetadataAdapter : HostObject {
    ChannelMetadataReader* target = nullptr;
};

struct RangeMarkerAdapter : HostObject {
    RangeMarker* target = nullptr;
};

// One channel of any kind; logical channels also own their host-layout
// transition records.
struct ChannelAdapter : HostObject {
    GenericChannelReader* target = nullptr;
    ReaderAdapter* reader = nullptr;
    ChannelMetadataAdapter metadata;
    RangeMarkerAdapter ranges;
    std::vector<HostLogicalTransition> logicalRecords;
    std::vector<HostLogicalTransition*> logicalPointers;
    std::vector<std::unique_ptr<char[]>> longTexts;
};

struct ReaderAdapter : HostObject {
    std::unique_ptr<DisturbanceDataReader> target;
    FileMetadataAdapter metadata;
    std::vector<ChannelAdapter> analog;
    std::vector<ChannelAdapter> digital;
    std::vector<ChannelAdapter> logical;
};

// Owned objects are freed by their owner only: the destructor slot of an
// object the reader owns does nothing but return it.
void* DR_MVQ4_THISCALL OwnedDestructor(HostObject* self, unsigned) { return self; }

// FileMetadataReader: 6 slots.
const char* DR_MVQ4_THISCALL FileName(FileMetadataAdapter* self) { return self->target->GetFileName(); }
const char* DR_MVQ4_THISCALL Description(FileMetadataAdapter* self) { return self->target->GetDescription(); }
const char* DR_MVQ4_THISCALL TriggerTimeText(FileMetadataAdapter* self) {
    return self->target->GetTriggerTimeText();
}
const char* DR_MVQ4_THISCALL ExtraText(FileMetadataAdapter* self, int index) {
    return self->target->GetExtraText(index);
}
int DR_MVQ4_THISCALL DefaultXOffset(FileMetadataAdapter* self) { return self->target->GetDefaultXOffset(); }

const Slot kFileMetadataTable[] = {
    AsSlot(&FileName),        // 0 GetFileName
    AsSlot(&Description),     // 1 GetDescription
    AsSlot(&TriggerTimeText), // 2 GetTriggerTimeText
    AsSlot(&ExtraText),       // 3 GetExtraText(int)
    AsSlot(&DefaultXOffset),  // 4 GetDefaultXOffset
    AsSlot(&OwnedDestructor), // 5 destructor
};

// ChannelMetadataReader: 3 slots.
const char* DR_MVQ4_THISCALL ChannelName(ChannelMetadataAdapter* self) { return self->target->GetName(); }
uint32_t DR_MVQ4_THISCALL ChannelColor(ChannelMetadataAdapter* self) { return self->target->GetColor(); }

const Slot kChannelMetadataTable[] = {
    AsSlot(&ChannelName),     // 0 GetName
    AsSlot(&ChannelColor),    // 1 GetColor
    AsSlot(&OwnedDestructor), // 2 destructor
};

// RangeMarker: 4 slots.
bool DR_MVQ4_THISCALL HasInvalidRanges(RangeMarkerAdapter* self) { return self->target->HasInvalidRanges(); }
HostIterator* DR_MVQ4_THISCALL RangesBegin(RangeMarkerAdapter* self, HostIterator* result) {
    result->position = self->target->GetRangesBegin().Position();
    return result;
}
HostIterator* DR_MVQ4_THISCALL RangesEnd(RangeMarkerAdapter* self, HostIterator* result) {
    result->position = self->target->GetRangesEnd().Position();
    return result;
}

const Slot kRangeMarkerTable[] = {
    AsSlot(&HasInvalidRanges), // 0 HasInvalidRanges
    AsSlot(&RangesBegin),      // 1 GetRangesBegin -> hidden result
    AsSlot(&RangesEnd),        // 2 GetRangesEnd -> hidden result
    AsSlot(&OwnedDestructor),  // 3 destructor
};

// GenericChannelReader: slots 0 to 7, shared by the three channel tables.
void* DR_MVQ4_THISCALL ChannelReader(ChannelAdapter* self) { return self->reader; }
void* DR_MVQ4_THISCALL ChannelMetadata(ChannelAdapter* self) { return &self->metadata; }
void* DR_MVQ4_THISCALL ChannelRanges(ChannelAdapter* self) { return &self->ranges; }
uint32_t DR_MVQ4_THISCALL ChannelSampleCount(ChannelAdapter* self) { return self->target->GetSampleCount(); }
double DR_MVQ4_THISCALL ChannelOffset(ChannelAdapter* self) { return self->target->GetOffset(); }
int DR_MVQ4_THISCALL ChannelId(ChannelAdapter* self) { return self->target->GetId(); }
const char* DR_MVQ4_THISCALL ChannelKey(ChannelAdapter* self) { return self->target->GetKey(); }

#define DR_MVQ4_GENERIC_CHANNEL_SLOTS                                                                  \
    AsSlot(&OwnedDestructor),    /* 0 destructor */                                                    \
        AsSlot(&ChannelReader),  /* 1 GetReader */                                                     \
        AsSlot(&ChannelMetadata),    /* 2 GetMetadata */                                               \
        AsSlot(&ChannelRanges),      /* 3 GetRangeMarker */                                            \
        AsSlot(&ChannelSampleCount), /* 4 GetSampleCount */                                            \
        AsSlot(&ChannelOffset),      /* 5 GetOffset */                                                 \
        AsSlot(&ChannelId),          /* 6 GetId */                                                     \
        AsSlot(&ChannelKey)          /* 7 GetKey */

// AnalogChannelReader: slots 8 to 12.
AnalogChannelReader* Analog(ChannelAdapter* self) { return static_cast<AnalogChannelReader*>(self->target); }
bool DR_MVQ4_THISCALL IsSampleValid(ChannelAdapter* self, uint32_t index) {
    return Analog(self)->IsSampleValid(index);
}
double DR_MVQ4_THISCALL SampleValue(ChannelAdapter* self, uint32_t index) {
    return Analog(self)->GetSampleValue(index);
}
const char* DR_MVQ4_THISCALL Unit(ChannelAdapter* self) { return Analog(self)->GetUnit(); }
double DR_MVQ4_THISCALL MaxMagnitude(ChannelAdapter* self) { return Analog(self)->GetMaxMagnitude(); }
void DR_MVQ4_THISCALL SetSampleShift(ChannelAdapter* self, int shift) { Analog(self)->SetSampleShift(shift); }

const Slot kAnalogChannelTable[] = {
    DR_MVQ4_GENERIC_CHANNEL_SLOTS,
    AsSlot(&IsSampleValid),  // 8 IsSampleValid(u32)
    AsSlot(&SampleValue),    // 9 GetSampleValue(u32)
    AsSlot(&Unit),           // 10 GetUnit
    AsSlot(&MaxMagnitude),   // 11 GetMaxMagnitude
    AsSlot(&SetSampleShift), // 12 SetSampleShift(int)
};

// TransitionalChannelReader: slots 8 to 13. Digital records are handed over
// as stored; logical ones from the adapter's host-layout copy, at the same
// index as the channel's own.
template <typename Reader>
Reader* Transitional(ChannelAdapter* self) {
    return static_cast<Reader*>(self->target);
}

template <typename Reader>
int DR_MVQ4_THISCALL TransitionCount(ChannelAdapter* self) {
    return Transitional<Reader>(self)->GetTransitionCount();
}
template <typename Reader>
uint32_t DR_MVQ4_THISCALL TransitionSample(ChannelAdapter* self, int index) {
    return Transitional<Reader>(self)->GetTransitionSample(index);
}
template <typename Reader>
bool DR_MVQ4_THISCALL IsSampleInvalid(ChannelAdapter* self, uint32_t sample) {
    return Transitional<Reader>(self)->IsSampleInvalid(sample);
}

const void* HandedPosition(ChannelAdapter*, DigitalChannelReader::Iterator position) {
    return position.Position();
}
const void* HandedPosition(ChannelAdapter* self, LogicalChannelReader::Iterator position) {
    LogicalChannelReader* channel = Transitional<LogicalChannelReader>(self);
    const ptrdiff_t index = position - channel->GetTransitionsBegin();
    return self->logicalPointers.data() + index;
}

template <typename Reader>
HostIterator* DR_MVQ4_THISCALL TransitionsBegin(ChannelAdapter* self, HostIterator* result) {
    result->position = HandedPosition(self, Transitional<Reader>(self)->GetTransitionsBegin());
    return result;
}
template <typename Reader>
HostIterator* DR_MVQ4_THISCALL TransitionsEnd(ChannelAdapter* self, HostIterator* result) {
    result->position = HandedPosition(self, Transitional<Reader>(self)->GetTransitionsEnd());
    return result;
}
template <typename Reader>
HostIterator* DR_MVQ4_THISCALL FindTransition(ChannelAdapter* self, HostIterator* result, uint32_t sample) {
    result->position = HandedPosition(self, Transitional<Reader>(self)->FindTransition(sample));
    return result;
}

#define DR_MVQ4_TRANSITIONAL_SLOTS(Reader)                                            \
    AsSlot(&TransitionCount<Reader>),      /* 8 GetTransitionCount */                 \
        AsSlot(&TransitionSample<Reader>), /* 9 GetTransitionSample(int) */           \
        AsSlot(&IsSampleInvalid<Reader>),  /* 10 IsSampleInvalid(u32) */              \
        AsSlot(&TransitionsBegin<Reader>), /* 11 GetTransitionsBegin -> hidden result */ \
        AsSlot(&TransitionsEnd<Reader>),   /* 12 GetTransitionsEnd -> hidden result */   \
        AsSlot(&FindTransition<Reader>)    /* 13 FindTransition(u32) -> hidden result */

const Slot kDigitalChannelTable[] = {DR_MVQ4_GENERIC_CHANNEL_SLOTS,
                                     DR_MVQ4_TRANSITIONAL_SLOTS(DigitalChannelReader)};
const Slot kLogicalChannelTable[] = {DR_MVQ4_GENERIC_CHANNEL_SLOTS,
                                     DR_MVQ4_TRANSITIONAL_SLOTS(LogicalChannelReader)};

// DisturbanceDataReader: 16 slots.
void* DR_MVQ4_THISCALL ReaderDestructor(ReaderAdapter* self, unsigned flags) {
    self->~ReaderAdapter();
    if (flags & 1u) ::operator delete(self);
    return self;
}
int DR_MVQ4_THISCALL AnalogCount(ReaderAdapter* self) { return static_cast<int>(self->analog.size()); }
void* DR_MVQ4_THISCALL AnalogChannel(ReaderAdapter* self, int index) {
    return &self->analog[static_cast<size_t>(index)];
}
int DR_MVQ4_THISCALL DigitalCount(ReaderAdapter* self) { return static_cast<int>(self->digital.size()); }
void* DR_MVQ4_THISCALL DigitalChannel(ReaderAdapter* self, int index) {
    return &self->digital[static_cast<size_t>(index)];
}
int DR_MVQ4_THISCALL LogicalCount(ReaderAdapter* self) { return static_cast<int>(self->logical.size()); }
void* DR_MVQ4_THISCALL LogicalChannel(ReaderAdapter* self, int index) {
    return &self->logical[static_cast<size_t>(index)];
}
uint32_t DR_MVQ4_THISCALL SampleCount(ReaderAdapter* self) { return self->target->GetSampleCount(); }
uint32_t DR_MVQ4_THISCALL TriggerSample(ReaderAdapter* self) { return self->target->GetTriggerSample(); }
double DR_MVQ4_THISCALL SampleTime(ReaderAdapter* self, uint32_t sample) {
    return self->target->GetSampleTime(sample);
}
double DR_MVQ4_THISCALL SampleInterval(ReaderAdapter* self) { return self->target->GetSampleInterval(); }
bool DR_MVQ4_THISCALL TriggerTime(ReaderAdapter* self, tm* time, double* milliseconds) {
    return self->target->GetTriggerTime(time, milliseconds);
}
bool DR_MVQ4_THISCALL SecondaryTime(ReaderAdapter* self, tm* time, double* milliseconds) {
    return self->target->GetSecondaryTime(time, milliseconds);
}
const char* DR_MVQ4_THISCALL Language(ReaderAdapter* self) { return self->target->GetLanguage(); }
void* DR_MVQ4_THISCALL FileMetadata(ReaderAdapter* self) { return &self->metadata; }
bool DR_MVQ4_THISCALL TimeZone(ReaderAdapter* self, int* offset, int* dstOffset) {
    return self->target->GetTimeZone(offset, dstOffset);
}

const Slot kReaderTable[] = {
    AsSlot(&ReaderDestructor), // 0 destructor (scalar deleting)
    AsSlot(&AnalogCount),      // 1 GetAnalogChannelCount
    AsSlot(&AnalogChannel),    // 2 GetAnalogChannel(int)
    AsSlot(&DigitalCount),     // 3 GetDigitalChannelCount
    AsSlot(&DigitalChannel),   // 4 GetDigitalChannel(int)
    AsSlot(&LogicalCount),     // 5 GetLogicalChannelCount
    AsSlot(&LogicalChannel),   // 6 GetLogicalChannel(int)
    AsSlot(&SampleCount),      // 7 GetSampleCount
    AsSlot(&TriggerSample),    // 8 GetTriggerSample
    AsSlot(&SampleTime),       // 9 GetSampleTime(u32)
    AsSlot(&SampleInterval),   // 10 GetSampleInterval
    AsSlot(&TriggerTime),      // 11 GetTriggerTime(tm*, double*)
    AsSlot(&SecondaryTime),    // 12 GetSecondaryTime(tm*, double*)
    AsSlot(&Language),         // 13 GetLanguage
    AsSlot(&FileMetadata),     // 14 GetFileMetadata
    AsSlot(&TimeZone),         // 15 GetTimeZone(int*, int*)
};

// The host-layout copy of a logical channel's transitions.
void CopyLogicalRecords(ChannelAdapter& adapter, LogicalChannelReader& channel) {
    const int count = channel.GetTransitionCount();
    adapter.logicalRecords.resize(static_cast<size_t>(count));
    adapter.logicalPointers.reserve(static_cast<size_t>(count));
    LogicalChannelReader::Iterator transition = channel.GetTransitionsBegin();
    for (HostLogicalTransition& record : adapter.logicalRecords) {
        const std::string& text = transition->text;
        HostString& host = record.text;
        std::memset(&host, 0, sizeof host);
        host.size = static_cast<uint32_t>(text.size());
        if (text.size() < sizeof host.text.buffer) {
            std::memcpy(host.text.buffer, text.c_str(), text.size() + 1);
            host.capacity = sizeof host.text.buffer - 1;
        } else {
            adapter.longTexts.emplace_back(new char[text.size() + 1]);
            host.text.pointer = adapter.longTexts.back().get();
            std::memcpy(host.text.pointer, text.c_str(), text.size() + 1);
            host.capacity = static_cast<uint32_t>(text.size());
        }
        record.firstSample = transition->firstSample;
        adapter.logicalPointers.push_back(&record);
        ++transition;
    }
}

void Adapt(ChannelAdapter& adapter, const Slot* table, GenericChannelReader* channel, ReaderAdapter* reader) {
    adapter.table = table;
    adapter.target = channel;
    adapter.reader = reader;
    adapter.metadata.table = kChannelMetadataTable;
    adapter.metadata.target = channel->GetMetadata();
    adapter.ranges.table = kRangeMarkerTable;
    adapter.ranges.target = channel->GetRangeMarker();
}

std::unique_ptr<ReaderAdapter> MakeAdapter(std::unique_ptr<DisturbanceDataReader> reader) {
    std::unique_ptr<ReaderAdapter> adapter(new ReaderAdapter);
    DisturbanceDataReader& target = *reader;
    adapter->table = kReaderTable;
    adapter->target = std::move(reader);
    adapter->metadata.table = kFileMetadataTable;
    adapter->metadata.target = target.GetFileMetadata();
    adapter->analog.resize(static_cast<size_t>(target.GetAnalogChannelCount()));
    for (size_t i = 0; i < adapter->analog.size(); ++i) {
        Adapt(adapter->analog[i], kAnalogChannelTable, target.GetAnalogChannel(static_cast<int>(i)), adapter.get());
    }
    adapter->digital.resize(static_cast<size_t>(target.GetDigitalChannelCount()));
    for (size_t i = 0; i < adapter->digital.size(); ++i) {
        Adapt(adapter->digital[i], kDigitalChannelTable, target.GetDigitalChannel(static_cast<int>(i)),
              adapter.get());
    }
    adapter->logical.resize(static_cast<size_t>(target.GetLogicalChannelCount()));
    for (size_t i = 0; i < adapter->logical.size(); ++i) {
        LogicalChannelReader* channel = target.GetLogicalChannel(static_cast<int>(i));
        Adapt(adapter->logical[i], kLogicalChannelTable, channel, adapter.get());
        CopyLogicalRecords(adapter->logical[i], *channel);
    }
    return adapter;
}

}  // namespace

DisturbanceDataReader* HandToHost(DisturbanceDataReader* reader) {
    std::unique_ptr<DisturbanceDataReader> owned(reader);
    try {
        // The host sees the adapter only through its table; to our own code
        // the pointer is opaque.
        return reinterpret_cast<DisturbanceDataReader*>(MakeAdapter(std::move(owned)).release());
    } catch (...) {
        return nullptr;
    }
}

void TakeBackFromHost(DisturbanceDataReader* handed) {
    if (handed == nullptr) return;
    ReaderDestructor(reinterpret_cast<ReaderAdapter*>(handed), 1u);
}
