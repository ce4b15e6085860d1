#include "container/DeviceModelLookup.h"

#include "container/ModelFile.h"
#include "platform/AppDataFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kDeviceModelsFolder = "DeviceModels/";
const char* const kNewStyleFolder = "MVQ3PL";

bool EndsInCompressedSuffix(const std::string& path) { return platform::HasExtensionIgnoringCase(path, "_c"); }

}  // namespace

DeviceModelLookup::DeviceModelLookup() : m_budget(m_ownBudget) {}
DeviceModelLookup::DeviceModelLookup(platform::LoadBudget& budget) : m_budget(budget) {}
DeviceModelLookup::~DeviceModelLookup() = default;

std::string DeviceModelLookup::DefaultFolder(const std::string& companyName, const std::string& productFamily) {
    m_companyName = companyName;
    std::string folder = platform::AppendPath(platform::CommonAppDataFolder(), companyName);
    folder = platform::AppendPath(folder, productFamily);
    return platform::AppendPath(folder, kDeviceModelsFolder);
}

std::string DeviceModelLookup::FolderFor(const settings::LoadOptions& options) {
    const std::string folder = platform::WideToUtf8(options.deviceModelFolder);
    if (!folder.empty()) return folder;
    return DefaultFolder(platform::WideToUtf8(options.companyName), platform::WideToUtf8(options.productFamily));
}

bool DeviceModelLookup::FindAndLoadFor(const settings::LoadOptions& options, const std::wstring& deviceName,
                                       const std::wstring& deviceVersion, std::string& path,
                                       devicemodel::DeviceModelError& loadError) {
    bool compressed = false;
    const size_t kept = kLongestModelName + 1;  // still longer than any model's
    return FindAndLoad(FolderFor(options), platform::WideToUtf8(std::wstring_view(deviceName).substr(0, kept)),
                       platform::WideToUtf8(std::wstring_view(deviceVersion).substr(0, kept)), path, compressed,
                       loadError);
}

DeviceContainer* DeviceModelLookup::OpenDevice(const std::string& path) {
    if (!m_device || m_devicePath != path) {
        m_device.reset(new DeviceContainer(m_budget));
        m_devicePath = path;
        m_deviceVerified = m_device->Open(platform::Utf8ToWide(path));
    }
    return m_deviceVerified ? m_device.get() : nullptr;
}

void DeviceModelLookup::ReadSelectedModel(const std::string& path, bool compressed, std::string& text) {
    text.clear();
    if (IsZipFile(path)) {
        if (DeviceContainer* device = OpenDevice(path)) device->ReadDeviceModel(text);
    } else {
        ReadModelFile(path, compressed, text, m_budget);
    }
}

bool DeviceModelLookup::FindAndLoad(const std::string& folder, const std::string& deviceName,
                                    const std::string& deviceVersion, std::string& path, bool& compressed,
                                    devicemodel::DeviceModelError& loadError) {
    m_searchedFolder = folder;
    if (IsNewStyleVersion(deviceVersion)) {
        // New-style devices keep their models in one place, whatever the option says.
        const std::string company = platform::AppendPath(platform::CommonAppDataFolder(), m_companyName);
        m_searchedFolder = platform::AppendPath(platform::AppendPath(company, kNewStyleFolder), kDeviceModelsFolder);
    }
    m_productLine = ProductLine(deviceName, deviceVersion);
    m_candidates.reset(new DeviceModelCandidates(m_searchedFolder, m_productLine));
    m_candidates->List();
    m_candidates->Finish();
    const DeviceModelCandidate* selected = m_candidates->Select(deviceName, deviceVersion);
    if (selected == nullptr) return false;
    path = selected->fullPath;
    compressed = selected->compressed;
    m_model.reset(new devicemodel::CDataModelToHMI());
    ReadSelectedModel(selected->fullPath, selected->compressed, m_modelText);
    m_selectedPath.clear();
    // A document tree over the budget counts as no model.
    if (m_modelText.empty() || !m_budget.ReserveDocument(m_modelText) ||
        !m_model->Load(m_modelText, loadError)) {
        return false;
    }
    m_selectedPath = selected->fullPath;
    m_selectedCompressed = selected->compressed;
    return true;
}

std::string DeviceModelLookup::LanguageFilePath(const std::wstring& language) const {
    const std::string suffix = EndsInCompressedSuffix(platform::Extension(m_selectedPath)) ? "_c" : "";
    return platform::ResolveNameIgnoringCase(platform::PathWithoutExtension(m_selectedPath) + ".dm_L_" +
                                             platform::WideToUtf8(language) + suffix);
}

bool DeviceModelLookup::ReadLanguageFromContainer(const std::wstring& language, std::string& text) {
    DeviceContainer* device = OpenDevice(m_selectedPath);
    return device != nullptr && device->ReadLanguageTexts(language, text);
}

bool DeviceModelLookup::LoadLanguageTexts(const std::wstring& language, std::string& languagePath,
                                          bool& isContainer) {
    if (language.empty() || m_selectedPath.empty() || !m_model) return false;
    m_languageText.clear();
    m_language = language;
    bool found = false;
    isContainer = IsZipFile(m_selectedPath);
    if (isContainer) {
        languagePath.clear();
        found = ReadLanguageFromContainer(language, m_languageText);
    } else {
        languagePath = LanguageFilePath(language);
        found = platform::PathExists(languagePath);
        if (found) ReadModelFile(languagePath, EndsInCompressedSuffix(languagePath), m_languageText, m_budget);
    }
    return found && !m_languageText.empty() && m_budget.ReserveDocument(m_languageText) &&
           m_model->LoadLanguage(m_languageText);
}

bool DeviceModelLookup::ReadModelText(std::string& text) {
    text.clear();
    if (m_selectedPath.empty()) return false;
    if (m_modelText.empty()) ReadSelectedModel(m_selectedPath, m_selectedCompressed, m_modelText);
    text.swap(m_modelText);
    return !text.empty();
}

bool DeviceModelLookup::ReadLanguageText(const std::wstring& language, std::string& text) {
    text.clear();
    if (language.empty() || m_selectedPath.empty()) return false;
    if (language == m_language && !m_languageText.empty()) {
        text.swap(m_languageText);
        return true;
    }
    if (IsZipFile(m_selectedPath)) return ReadLanguageFromContainer(language, text);
    const std::string path = LanguageFilePath(language);
    ReadModelFile(path, EndsInCompressedSuffix(path), text, m_budget);
    return !text.empty();
}

void DeviceModelLookup::Release() { m_model.reset(); }

}  // namespace container
