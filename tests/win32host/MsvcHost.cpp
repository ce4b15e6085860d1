// A stand-in for the record viewer on Windows, built with clang for the
// MSVC target so that it lays out and calls the interfaces exactly as
// Microsoft's 32-bit compiler does (thiscall, one destructor slot, class
// results through a hidden pointer). It declares the interfaces itself, from
// the slot tables, not from the plug-in's header, and uses no C++ library:
// only kernel32.
//
//   msvc_host DLL RECORD LANGUAGE [OPTIONS]
//
// loads DLL, resolves the two exports by their decorated names, loads RECORD
// and writes everything the interfaces report as JSON in the key order of
// `cvdr dump --json`, except that strings are written as "h:" + the hex of
// their bytes and non-integral numbers as "d:" + the hex of their IEEE bits,
// so no formatting code is needed here; compare_dump.py reads both and
// compares them field by field. Exit status: 0 loaded, 1 the create call
// returned false, 2 wrong usage or a missing library or export.
typedef unsigned int u32;
typedef unsigned long long u64;
typedef unsigned short wchar;

extern "C" {
__declspec(dllimport) void* __stdcall LoadLibraryW(const wchar* name);
__declspec(dllimport) void* __stdcall GetProcAddress(void* module, const char* name);
__declspec(dllimport) void* __stdcall GetStdHandle(u32 which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, u32 size, u32* written, void* overlapped);
__declspec(dllimport) const wchar* __stdcall GetCommandLineW();
__declspec(dllimport) void __stdcall ExitProcess(u32 code);
int _fltused = 0;
}

void operator delete(void*) noexcept {}
void operator delete(void*, unsigned int) noexcept {}

struct tm {
    int tm_sec, tm_min, tm_hour, tm_mday, tm_mon, tm_year, tm_wday, tm_yday, tm_isdst;
};

// The host runtime's std::string, x86 release layout.
struct HostString {
    union {
        char buffer[16];
        char* pointer;
    };
    u32 size;
    u32 capacity;
    const char* Text() const { return capacity < 16 ? buffer : pointer; }
};

struct RangeRecord {
    bool valid;
    u32 firstSample;
};
struct DigitalTransition {
    u32 state;
    u32 firstSample;
};
struct LogicalTransition {
    HostString text;
    u32 firstSample;
};

template <typename Record>
struct Iterator {
    Record* const* position;
};

class DisturbanceDataReader;

class FileMetadataReader {
public:
    virtual const char* GetFileName() = 0;
    virtual const char* GetDescription() = 0;
    virtual const char* GetTriggerTimeText() = 0;
    virtual const char* GetExtraText(int index) = 0;
    virtual int GetDefaultXOffset() = 0;
    virtual ~FileMetadataReader() {}
};

class ChannelMetadataReader {
public:
    virtual const char* GetName() = 0;
    virtual u32 GetColor() = 0;
    virtual ~ChannelMetadataReader() {}
};

class RangeMarker {
public:
    virtual bool HasInvalidRanges() = 0;
    virtual Iterator<RangeRecord> GetRangesBegin() = 0;
    virtual Iterator<RangeRecord> GetRangesEnd() = 0;
    virtual ~RangeMarker() {}
};

class GenericChannelReader {
public:
    virtual ~GenericChannelReader() {}
    virtual DisturbanceDataReader* GetReader() = 0;
    virtual ChannelMetadataReader* GetMetadata() = 0;
    virtual RangeMarker* GetRangeMarker() = 0;
    virtual u32 GetSampleCount() = 0;
    virtual double GetOffset() = 0;
    virtual int GetId() = 0;
    virtual const char* GetKey() = 0;
};

class AnalogChannelReader : public GenericChannelReader {
public:
    virtual bool IsSampleValid(u32 index) = 0;
    virtual double GetSampleValue(u32 index) = 0;
    virtual const char* GetUnit() = 0;
    virtual double GetMaxMagnitude() = 0;
    virtual void SetSampleShift(int shift) = 0;
};

template <typename Transition>
class TransitionalChannelReader : public GenericChannelReader {
public:
    virtual int GetTransitionCount() = 0;
    virtual u32 GetTransitionSample(int index) = 0;
    virtual bool IsSampleInvalid(u32 sample) = 0;
    virtual Iterator<Transition> GetTransitionsBegin() = 0;
    virtual Iterator<Transition> GetTransitionsEnd() = 0;
    virtual Iterator<Transition> FindTransition(u32 sample) = 0;
};

class DigitalChannelReader : public TransitionalChannelReader<DigitalTransition> {};
class LogicalChannelReader : public TransitionalChannelReader<LogicalTransition> {};

class DisturbanceDataReader {
public:
    virtual ~DisturbanceDataReader() {}
    virtual int GetAnalogChannelCount() = 0;
    virtual AnalogChannelReader* GetAnalogChannel(int index) = 0;
    virtual int GetDigitalChannelCount() = 0;
    virtual DigitalChannelReader* GetDigitalChannel(int index) = 0;
    virtual int GetLogicalChannelCount() = 0;
    virtual LogicalChannelReader* GetLogicalChannel(int index) = 0;
    virtual u32 GetSampleCount() = 0;
    virtual u32 GetTriggerSample() = 0;
    virtual double GetSampleTime(u32 sample) = 0;
    virtual double GetSampleInterval() = 0;
    virtual bool GetTriggerTime(tm* time, double* milliseconds) = 0;
    virtual bool GetSecondaryTime(tm* time, double* milliseconds) = 0;
    virtual const char* GetLanguage() = 0;
    virtual FileMetadataReader* GetFileMetadata() = 0;
    virtual bool GetTimeZone(int* offset, int* dstOffset) = 0;
};

typedef bool(__stdcall* CreateFn)(DisturbanceDataReader** out, const wchar* path, const char* language,
                                  const wchar* options);
typedef void(__stdcall* FreeFn)(DisturbanceDataReader* reader);

namespace {

// Output, buffered.
char g_buffer[1 << 16];
u32 g_used = 0;

void Flush() {
    u32 written = 0;
    if (g_used > 0) WriteFile(GetStdHandle(static_cast<u32>(-11)), g_buffer, g_used, &written, nullptr);
    g_used = 0;
}

void Put(char c) {
    if (g_used == sizeof g_buffer) Flush();
    g_buffer[g_used++] = c;
}

void Put(const char* text) {
    while (*text != '\0') Put(*text++);
}

void PutHex(u64 value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) Put("0123456789abcdef"[(value >> shift) & 15]);
}

// 32-bit arithmetic only: a 64-bit division would need the runtime's helpers.
void PutInt(long long value) {
    char digits[24];
    int count = 0;
    const bool negative = value < 0;
    u32 magnitude = static_cast<u32>(negative ? 0 - static_cast<u64>(value) : static_cast<u64>(value));
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) Put('-');
    while (count > 0) Put(digits[--count]);
}

void PutString(const char* text) {
    Put("\"h:");
    for (; *text != '\0'; ++text) PutHex(static_cast<unsigned char>(*text), 2);
    Put('"');
}

void PutDouble(double value) {
    u64 bits = 0;
    __builtin_memcpy(&bits, &value, sizeof bits);
    Put("\"d:");
    PutHex(bits, 16);
    Put('"');
}

void PutBool(bool value) { Put(value ? "true" : "false"); }

void Key(const char* name) {
    Put('"');
    Put(name);
    Put("\":");
}

void PutTime(const tm& time, double milliseconds) {
    Put('{');
    const char* names[] = {"tm_sec", "tm_min", "tm_hour", "tm_mday", "tm_mon",
                           "tm_year", "tm_wday", "tm_yday", "tm_isdst"};
    const int values[] = {time.tm_sec, time.tm_min, time.tm_hour, time.tm_mday, time.tm_mon,
                          time.tm_year, time.tm_wday, time.tm_yday, time.tm_isdst};
    for (int i = 0; i < 9; ++i) {
        Key(names[i]);
        PutInt(values[i]);
        Put(',');
    }
    Key("milliseconds");
    PutDouble(milliseconds);
    Put('}');
}

void PutCommon(GenericChannelReader* channel) {
    Key("name");
    PutString(channel->GetMetadata()->GetName());
    Put(',');
    Key("color");
    PutInt(channel->GetMetadata()->GetColor());
    Put(',');
    Key("id");
    PutInt(channel->GetId());
    Put(',');
    Key("key");
    PutString(channel->GetKey());
    Put(',');
    Key("sampleCount");
    PutInt(channel->GetSampleCount());
    Put(',');
    Key("offset");
    PutDouble(channel->GetOffset());
    Put(',');
    RangeMarker* ranges = channel->GetRangeMarker();
    Key("hasInvalidRanges");
    PutBool(ranges->HasInvalidRanges());
    Put(',');
    Key("ranges");
    Put('[');
    const Iterator<RangeRecord> end = ranges->GetRangesEnd();
    for (Iterator<RangeRecord> it = ranges->GetRangesBegin(); it.position != end.position; ++it.position) {
        if (it.position != ranges->GetRangesBegin().position) Put(',');
        Put('[');
        PutBool((*it.position)->valid);
        Put(',');
        PutInt((*it.position)->firstSample);
        Put(']');
    }
    Put(']');
}

void PutAnalog(AnalogChannelReader* channel) {
    Put('{');
    PutCommon(channel);
    Put(',');
    Key("unit");
    PutString(channel->GetUnit());
    Put(',');
    Key("maxMagnitude");
    PutDouble(channel->GetMaxMagnitude());
    Put(',');
    const u32 count = channel->GetSampleCount();
    Key("values");
    Put('[');
    for (u32 i = 0; i < count; ++i) {
        if (i > 0) Put(',');
        PutDouble(channel->GetSampleValue(i));
    }
    Put("],");
    Key("validity");
    Put('"');
    for (u32 i = 0; i < count; ++i) Put(channel->IsSampleValid(i) ? '1' : '0');
    Put("\"}");
}

// Transitions, and a check that FindTransition and IsSampleInvalid agree
// with them at each transition's first sample.
template <typename Reader, typename Transition>
void PutTransitions(Reader* channel, void (*putState)(const Transition&), bool (*invalid)(const Transition&)) {
    Put('{');
    PutCommon(channel);
    Put(',');
    Key("transitions");
    Put('[');
    const Iterator<Transition> begin = channel->GetTransitionsBegin();
    const Iterator<Transition> end = channel->GetTransitionsEnd();
    int index = 0;
    for (Transition* const* p = begin.position; p != end.position; ++p, ++index) {
        if (p != begin.position) Put(',');
        Put('[');
        putState(**p);
        Put(',');
        PutInt((*p)->firstSample);
        Put(']');
        const bool consistent = channel->GetTransitionSample(index) == (*p)->firstSample &&
                                channel->IsSampleInvalid((*p)->firstSample) == invalid(**p);
        if (!consistent) Put("\"inconsistent transition\"");
    }
    Put(']');
    if (static_cast<int>(end.position - begin.position) != channel->GetTransitionCount()) {
        Put(",\"inconsistent\":\"count\"");
    }
    Put('}');
}

void PutDigitalState(const DigitalTransition& transition) { PutInt(transition.state); }
bool DigitalInvalid(const DigitalTransition& transition) { return transition.state == 0; }
void PutLogicalText(const LogicalTransition& transition) {
    const char* text = transition.text.Text();
    u32 length = 0;
    while (text[length] != '\0') ++length;
    if (length != transition.text.size) Put("\"inconsistent size\",");
    PutString(text);
}
bool LogicalInvalid(const LogicalTransition& transition) { return transition.text.size == 0; }

void PutReader(DisturbanceDataReader* reader) {
    FileMetadataReader* file = reader->GetFileMetadata();
    Put("{\"format\":\"cvdr-dump/1\",\"file\":{");
    Key("name");
    PutString(file->GetFileName());
    Put(',');
    Key("description");
    PutString(file->GetDescription());
    Put(',');
    Key("triggerTimeText");
    PutString(file->GetTriggerTimeText());
    Put(',');
    Key("defaultXOffset");
    PutInt(file->GetDefaultXOffset());
    Put("},");
    Key("language");
    PutString(reader->GetLanguage());
    Put(',');
    const u32 count = reader->GetSampleCount();
    Key("sampleCount");
    PutInt(count);
    Put(',');
    Key("triggerSample");
    PutInt(reader->GetTriggerSample());
    Put(',');
    Key("sampleInterval");
    PutDouble(reader->GetSampleInterval());
    Put(',');
    Key("firstSampleTime");
    if (count == 0) Put("null"); else PutDouble(reader->GetSampleTime(0));
    Put(',');
    Key("lastSampleTime");
    if (count == 0) Put("null"); else PutDouble(reader->GetSampleTime(count - 1));
    Put(',');
    tm time = {};
    double milliseconds = 0;
    reader->GetTriggerTime(&time, &milliseconds);
    Key("triggerTime");
    PutTime(time, milliseconds);
    Put(',');
    Key("secondaryTime");
    if (reader->GetSecondaryTime(&time, &milliseconds)) PutTime(time, milliseconds); else Put("null");
    Put(',');
    int offset = 0, dstOffset = 0;
    const bool zoneValid = reader->GetTimeZone(&offset, &dstOffset);
    Key("timeZone");
    Put('{');
    Key("valid");
    PutBool(zoneValid);
    Put(',');
    Key("offset");
    PutInt(offset);
    Put(',');
    Key("dstOffset");
    PutInt(dstOffset);
    Put("},");
    Key("analog");
    Put('[');
    for (int i = 0; i < reader->GetAnalogChannelCount(); ++i) {
        if (i > 0) Put(',');
        AnalogChannelReader* channel = reader->GetAnalogChannel(i);
        if (channel->GetReader() != reader) Put("\"wrong reader\",");
        PutAnalog(channel);
    }
    Put("],");
    Key("digital");
    Put('[');
    for (int i = 0; i < reader->GetDigitalChannelCount(); ++i) {
        if (i > 0) Put(',');
        PutTransitions(reader->GetDigitalChannel(i), &PutDigitalState, &DigitalInvalid);
    }
    Put("],");
    Key("logical");
    Put('[');
    for (int i = 0; i < reader->GetLogicalChannelCount(); ++i) {
        if (i > 0) Put(',');
        PutTransitions(reader->GetLogicalChannel(i), &PutLogicalText, &LogicalInvalid);
    }
    Put("]}\n");
}

// The command line split at blanks outside double quotes.
int SplitArguments(const wchar* line, wchar* storage, const wchar** arguments, int most) {
    int count = 0;
    while (*line != 0 && count < most) {
        while (*line == ' ' || *line == '\t') ++line;
        if (*line == 0) break;
        arguments[count++] = storage;
        bool quoted = false;
        while (*line != 0 && (quoted || (*line != ' ' && *line != '\t'))) {
            if (*line == '"') {
                quoted = !quoted;
            } else {
                *storage++ = *line;
            }
            ++line;
        }
        *storage++ = 0;
    }
    return count;
}

// The language as 8-bit text: the command line is ASCII here.
void Narrow(const wchar* wide, char* narrow, int size) {
    int i = 0;
    for (; wide[i] != 0 && i < size - 1; ++i) narrow[i] = static_cast<char>(wide[i]);
    narrow[i] = '\0';
}

wchar g_arguments[1 << 15];

int Run() {
    const wchar* arguments[8];
    const int count = SplitArguments(GetCommandLineW(), g_arguments, arguments, 8);
    if (count < 4) {
        Put("usage: msvc_host DLL RECORD LANGUAGE [OPTIONS]\n");
        return 2;
    }
    void* library = LoadLibraryW(arguments[1]);
    if (library == nullptr) return 2;
    CreateFn create = reinterpret_cast<CreateFn>(GetProcAddress(library, "_CreateDisturbanceDataReaderInstance@16"));
    FreeFn release = reinterpret_cast<FreeFn>(GetProcAddress(library, "_FreeDisturbanceDataReaderInstance@4"));
    if (create == nullptr || release == nullptr) return 2;
    char language[16];
    Narrow(arguments[3], language, sizeof language);
    const wchar empty[1] = {0};
    DisturbanceDataReader* reader = reinterpret_cast<DisturbanceDataReader*>(1);  // must stay untouched on failure
    if (!create(&reader, arguments[2], language, count > 4 ? arguments[4] : empty)) {
        Put(reader == reinterpret_cast<DisturbanceDataReader*>(1) ? "load failed\n" : "load failed, out written\n");
        return 1;
    }
    PutReader(reader);
    release(reader);
    release(nullptr);  // ignored
    return 0;
}

}  // namespace

extern "C" void mainCRTStartup() {
    const int status = Run();
    Flush();
    ExitProcess(static_cast<u32>(status));
}
