// Fuzz entry point: the regedit-format settings file.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::RegistryHive hive =
        platform::ParseRegistryFile(std::string(reinterpret_cast<const char*>(data), size));
    return hive.keys.empty() ? 0 : 0;
}
