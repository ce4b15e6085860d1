// One load of a record file, from the host's arguments to the finished
// reader: decode the record, find and apply its device model, assemble the
// channels. Runs on the calling thread; nothing survives between two loads
// except the numeric locale.
#ifndef DR_MVQ4_MODULE_LOAD_SEQUENCE_H
#define DR_MVQ4_MODULE_LOAD_SEQUENCE_H

#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace container {
class DeviceModelLookup;
class RecordContainer;
}  // namespace container
namespace settings {
struct LoadOptions;
}  // namespace settings

// On success stores a new reader in *out and returns true; on failure
// returns false and leaves *out untouched. May throw std::bad_alloc.
bool LoadDisturbanceFile(DisturbanceDataReader** out, const wchar_t* path, const char* language,
                         const wchar_t* options);

// The steps of the load that find a record's device model, shared with the
// diagnostics that report on them.

// The language entry of an opened record container that names the
// channels: the host's language, else "ENG". Stores its text and the
// language read; false when neither entry is there.
bool ReadContainerLanguage(container::RecordContainer& container, const std::wstring& language,
                           std::string& text, std::wstring& used);

// What the device-model search for a plain record found.
struct FolderModel {
    std::string modelPath;     // the selected model file; empty when none matches
    bool modelLoaded = false;  // selected and passed its check load
    std::string languagePath;  // the language file read; empty for none or a device container's entry
    bool languageInContainer = false;
    bool languageLoaded = false;
    std::string modelText;  // read when the model names the record
    std::string languageText;
};

// Searches the device-models folder with `lookup`, which keeps what it saw,
// for the record's device name and version. True when a model was found,
// loaded and has language texts for `language`, and the record names its
// device: the model then names the record's channels.
bool FindFolderModel(container::DeviceModelLookup& lookup, const settings::LoadOptions& options,
                     const std::wstring& deviceName, const std::wstring& deviceVersion,
                     const std::wstring& language, FolderModel& model);

#endif
