// The plug-in's two exports. No exception leaves them: running out of memory
// during a load makes the load fail.
#include <new>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/Cdr_mvq4_v001App.h"
#include "module/HostHandover.h"
#include "module/LoadSequence.h"

namespace {
Cdr_mvq4_v001App theApp;
}

extern "C" DR_MVQ4_API bool DR_MVQ4_CALL CreateDisturbanceDataReaderInstance(DisturbanceDataReader** out,
                                                                              const wchar_t* path,
                                                                              const char* language,
                                                                              const wchar_t* options) {
    try {
        DisturbanceDataReader* loaded = nullptr;
        if (out == nullptr || !LoadDisturbanceFile(&loaded, path, language, options)) return false;
        DisturbanceDataReader* handed = HandToHost(loaded);
        if (handed == nullptr) return false;
        *out = handed;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (...) {
        return false;
    }
}

extern "C" DR_MVQ4_API void DR_MVQ4_CALL FreeDisturbanceDataReaderInstance(DisturbanceDataReader* reader) {
    TakeBackFromHost(reader);
}
