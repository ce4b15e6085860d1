// Fuzz entry point: one record container file, opened, verified and read as
// the load does.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>

#include "devicemodel/ExtendedSettingsSet.h"
#include "container/RecordContainer.h"
#include "platform/TextConversion.h"

namespace {

// The container is read from a file: one of this process's own.
const std::filesystem::path& InputPath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("dr_mvq4-fuzz-container-" + std::to_string(std::random_device()()));
    return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
    std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool written = WriteInput(data, size);
    try {
        container::RecordContainer records;
        const std::wstring widePath = platform::Utf8ToWide(InputPath().u8string());
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
    std::error_code ignored;
    std::filesystem::remove(InputPath(), ignored);
    return 0;
}
