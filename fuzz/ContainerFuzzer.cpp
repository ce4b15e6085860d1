// Fuzz entry point: one record container file, opened, verified and read as
// the load does.
#include "FuzzTarget.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

#include "devicemodel/ExtendedSettingsSet.h"
#include "container/RecordContainer.h"
#include "platform/TextConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char path[] = "/tmp/dr_mvq4-fuzz-container-XXXXXX";
    const int file = mkstemp(path);
    if (file < 0) return 0;
    const bool written = write(file, data, size) == static_cast<ssize_t>(size);
    close(file);
    try {
        container::RecordContainer records;
        const std::wstring widePath = platform::Utf8ToWide(path);
        if (written && records.IsContainer(widePath) && records.OpenContainer(widePath)) {
            std::string text;
            devicemodel::ExtendedSettingsSet settings;
            records.ReadRecorderData(text);
            records.ReadDeviceModel(text);
            records.ReadLanguageTexts(L"ENG", text);
            records.ReadExtendedSettings(settings);
        }
    } catch (const std::bad_alloc&) {
    }
    unlink(path);
    return 0;
}
