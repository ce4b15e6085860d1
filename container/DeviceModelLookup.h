// Finds the device model of a plain record file on disk: derives the folder
// and product line from the record's device name and version, lists the
// device containers and model files there, selects the one whose file name
// encodes exactly that name and version, and checks it by loading it. It
// then supplies the model text and the language texts for the record.
//
// Paths are UTF-8. One lookup per plain-file load, within the load's budget:
// the selected model and its language texts are read once, a device
// container opened and verified once, and the texts handed to the record are
// the ones the check load read.
#ifndef DR_MVQ4_CONTAINER_DEVICE_MODEL_LOOKUP_H
#define DR_MVQ4_CONTAINER_DEVICE_MODEL_LOOKUP_H

#include <memory>
#include <string>

#include "container/DeviceContainer.h"
#include "container/DeviceModelCandidate.h"
#include "devicemodel/CDataModelToHMI.h"
#include "platform/LoadBudget.h"
#include "settings/LoadOptions.h"

namespace container {

// The longest device name or version a model's file name can carry, in
// characters, with room to spare: file names hold at most 255. A longer one
// has no model, and only this much of it is looked at.
constexpr size_t kLongestModelName = 1024;
// The UTF-8 bytes that surely hold kLongestModelName + 1 characters: as much
// of a name's text as a lookup needs converted.
constexpr size_t kLookedAtNameBytes = 4 * (kLongestModelName + 1);

class DeviceModelLookup {
public:
    // Within a default budget of the object's own, or the load's.
    DeviceModelLookup();
    explicit DeviceModelLookup(platform::LoadBudget& budget);
    virtual ~DeviceModelLookup();
    DeviceModelLookup(const DeviceModelLookup&) = delete;
    DeviceModelLookup& operator=(const DeviceModelLookup&) = delete;

    // <application data>/<companyName>/<productFamily>/DeviceModels/; the
    // company name is remembered for new-style versions.
    std::string DefaultFolder(const std::string& companyName, const std::string& productFamily);
    // The folder the load options name: "DeviceModelFolder", else the
    // default folder from the company name and product family.
    std::string FolderFor(const settings::LoadOptions& options);
    // FindAndLoad in the folder the load options name (the default folder
    // when they name none), for the record's device name and version (of
    // which kLongestModelName + 1 characters are looked at).
    bool FindAndLoadFor(const settings::LoadOptions& options, const std::wstring& deviceName,
                        const std::wstring& deviceVersion, std::string& path,
                        devicemodel::DeviceModelError& loadError);

    // Finds and check-loads the model for the device. On success `path` and
    // `compressed` describe the selected file. False when no candidate
    // matches, or the selected model has no text or fails its load checks
    // (`loadError` then says why).
    bool FindAndLoad(const std::string& folder, const std::string& deviceName, const std::string& deviceVersion,
                     std::string& path, bool& compressed, devicemodel::DeviceModelError& loadError);

    // Reads and loads the language texts of the selected model: the file
    // "<model path without extension>.dm_L_<code>[_c]" beside a model file,
    // or the language entry of a device container.
    bool LoadLanguageTexts(const std::wstring& language, std::string& languagePath, bool& isContainer);

    // The model text and the language text for the record: those the check
    // load read (handed over; a second call reads them again), or for another
    // language its text read now.
    bool ReadModelText(std::string& text);
    bool ReadLanguageText(const std::wstring& language, std::string& text);

    // Releases the model processor.
    void Release();

    // What the last FindAndLoad saw: the folder text it listed, the product
    // line and the sorted candidates (for diagnostics).
    const std::string& SearchedFolder() const { return m_searchedFolder; }
    int SearchedProductLine() const { return m_productLine; }
    const DeviceModelCandidates* Candidates() const { return m_candidates.get(); }

private:
    void ReadSelectedModel(const std::string& path, bool compressed, std::string& text);
    std::string LanguageFilePath(const std::wstring& language) const;
    // The device container at `path`, opened and verified on the first call;
    // null when it does not verify.
    DeviceContainer* OpenDevice(const std::string& path);
    bool ReadLanguageFromContainer(const std::wstring& language, std::string& text);

    platform::LoadBudget m_ownBudget;  // when no budget is handed in
    platform::LoadBudget& m_budget;
    std::unique_ptr<DeviceContainer> m_device;
    std::string m_devicePath;
    bool m_deviceVerified = false;
    std::unique_ptr<devicemodel::CDataModelToHMI> m_model;
    std::string m_selectedPath;
    bool m_selectedCompressed = false;
    std::string m_companyName;
    std::string m_modelText;
    std::string m_languageText;
    std::wstring m_language;  // of m_languageText
    std::string m_searchedFolder;
    int m_productLine = 0;
    std::unique_ptr<DeviceModelCandidates> m_candidates;
};

}  // namespace container

#endif
