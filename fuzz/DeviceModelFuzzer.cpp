// Fuzz entry point: one device-model text, loaded with its checks and then
// applied as both the model and the language document.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

#include "devicemodel/ExtendedSettingsSet.h"
#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/DeviceModelContext.h"
#include "devicemodel/ChannelTextTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const std::string text(reinterpret_cast<const char*>(data), size);
        devicemodel::CDataModelToHMI model;
        devicemodel::DeviceModelError error;
        model.Load(text, error);
        model.LoadLanguage(text);
        devicemodel::ChannelTextTable table;
        devicemodel::ExtendedSettingsSet settings;
        settings.textReplacements.push_back({"Renamed", "/A/B"});
        settings.overloads.push_back({"/A", "/A/B"});
        devicemodel::ApplyDeviceModel(text, text, settings, true, table);
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
