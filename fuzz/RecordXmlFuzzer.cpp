// Fuzz entry point: one record XML text through decoding and assembly, then
// every getter of the resulting reader.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

#include "ReaderExercise.h"
#include "module/MVQ4_LoadedDisturbanceFile.h"
#include "record/DisturbanceRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        record::DisturbanceRecord record;
        if (!record.OpenText(std::string(reinterpret_cast<const char*>(data), size))) return 0;
        std::wstring name, version;
        if (!record.GetDeviceName(name) || !record.GetDeviceVersion(version)) return 0;
        MVQ4_LoadedDisturbanceFile loaded(L"fuzz.xml");
        if (loaded.Assemble(record)) ExerciseReader(loaded);
    } catch (const std::bad_alloc&) {
        // Running out of memory fails the load; that is the export's answer too.
    }
    return 0;
}
