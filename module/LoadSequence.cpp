#include "module/LoadSequence.h"

#include <memory>
#include <string>

#include "container/DeviceModelLookup.h"
#include "container/RecordContainer.h"
#include "module/MVQ4_LoadedDisturbanceFile.h"
#include "platform/LoadBudget.h"
#include "platform/ModuleState.h"
#include "platform/NumericLocale.h"
#include "platform/Registry.h"
#include "platform/TextConversion.h"
#include "record/DisturbanceRecord.h"
#include "settings/LoadOptions.h"

namespace {

// The device model of a container record: its own "DeviceModel" entry, the
// language entry for the host's language (else "ENG") and its extended
// settings. A container that does not verify, or has no language texts,
// leaves the record named from its keys.
bool ApplyContainerModel(record::DisturbanceRecord& record, container::RecordContainer& container,
                         const std::wstring& path, const std::wstring& language,
                         const settings::LoadOptions& options) {
    if (!container.OpenContainer(path)) return true;
    std::string modelText, languageText;
    std::wstring usedLanguage;
    container.ReadDeviceModel(modelText);
    if (!ReadContainerLanguage(container, language, languageText, usedLanguage)) return true;
    devicemodel::ExtendedSettingsSet settings;
    container.ReadExtendedSettings(settings);
    return record.ApplyDeviceModel(modelText, languageText, settings, options.displayAnsiDeviceNumbers);
}

// The device model of a plain record, looked up in the device-models folder
// by the record's device name and version. Not found: named from its keys.
bool ApplyFolderModel(record::DisturbanceRecord& record, const std::wstring& deviceName,
                      const std::wstring& deviceVersion, const std::wstring& language,
                      const settings::LoadOptions& options) {
    container::DeviceModelLookup lookup(record.Budget());
    FolderModel model;
    if (!FindFolderModel(lookup, options, deviceName, deviceVersion, language, model)) return true;
    const devicemodel::ExtendedSettingsSet noSettings;
    const bool applied = record.ApplyDeviceModel(model.modelText, model.languageText, noSettings, false);
    lookup.Release();
    return applied;
}

}  // namespace

bool ReadContainerLanguage(container::RecordContainer& container, const std::wstring& language,
                           std::string& text, std::wstring& used) {
    used = language;
    if (container.ReadLanguageTexts(language, text)) return true;
    if (platform::EqualsIgnoringAsciiCase(language, L"ENG")) return false;
    used = L"ENG";
    return container.ReadLanguageTexts(used, text);
}

bool FindFolderModel(container::DeviceModelLookup& lookup, const settings::LoadOptions& options,
                     const std::wstring& deviceName, const std::wstring& deviceVersion,
                     const std::wstring& language, FolderModel& model) {
    devicemodel::DeviceModelError loadError;
    model.modelLoaded = lookup.FindAndLoadFor(options, deviceName, deviceVersion, model.modelPath, loadError);
    if (!model.modelLoaded) return false;
    model.languageLoaded = lookup.LoadLanguageTexts(language, model.languagePath, model.languageInContainer);
    if (!model.languageLoaded || deviceName.empty()) return false;
    lookup.ReadModelText(model.modelText);
    lookup.ReadLanguageText(language, model.languageText);
    return true;
}

bool LoadDisturbanceFile(DisturbanceDataReader** out, const wchar_t* path, const char* language,
                         const wchar_t* options) {
    platform::ModuleStateScope moduleState;
    platform::SetNumericLocale();
    platform::WaitCursorScope waitCursor;
    platform::RegistrySnapshotScope settingsReadOnce;
    if (out == nullptr || path == nullptr) return false;
    const std::wstring recordPath(path);
    // What this load may allocate for its large items, shared by every step.
    platform::LoadBudget budget;
    record::DisturbanceRecord record(budget);
    {
        // The container, its entries and the model live until the record is named.
        container::RecordContainer container(budget);
        if (!record.Open(recordPath, container)) return false;
        std::wstring deviceName, deviceVersion;
        // The lookup looks at no more of the name than a model's file name holds.
        if (!record.GetDeviceName(deviceName, container::kLookedAtNameBytes) || !record.GetDeviceVersion(deviceVersion)) return false;
        const std::wstring languageCode = platform::AnsiToWide(language == nullptr ? "" : language);
        const settings::LoadOptions loadOptions = settings::ParseLoadOptions(options);
        const bool applied = container.IsContainer(recordPath)
                                 ? ApplyContainerModel(record, container, recordPath, languageCode, loadOptions)
                                 : ApplyFolderModel(record, deviceName, deviceVersion, languageCode, loadOptions);
        if (!applied) return false;
    }
    std::unique_ptr<MVQ4_LoadedDisturbanceFile> loaded(new MVQ4_LoadedDisturbanceFile(recordPath));
    if (!loaded->Assemble(record)) return false;
    *out = loaded.release();
    return true;
}
