// Fuzz entry point: the host's option string.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/TextConversion.h"
#include "settings/LoadOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = platform::Utf8ToWide(std::string(reinterpret_cast<const char*>(data), size));
    settings::LoadOptions options = settings::ParseLoadOptions(text.c_str());
    return options.displayAnsiDeviceNumbers ? 0 : 0;
}
