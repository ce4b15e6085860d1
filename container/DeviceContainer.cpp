#include "container/DeviceContainer.h"

#include "platform/Md5Hex.h"
#include "platform/FileAccess.h"
#include "platform/MessageBox.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kLanguagePrefix = "DeviceModel";
constexpr size_t kLanguageNameLength = 17;
// Everything one container may inflate while it is verified: a container
// that repeats huge entries cannot keep the viewer busy for long.
constexpr uint64_t kInflateBudget = 4 * platform::kMaxFileSize;

bool IsLanguageEntryName(const std::string& name) {
    return name.size() == kLanguageNameLength && name.compare(0, 11, kLanguagePrefix) == 0;
}

}  // namespace

DeviceContainer::DeviceContainer() : m_metaData(ContainerMetaData::Variant::DeviceContainer) {}

DeviceContainer::~DeviceContainer() { m_archive.Close(); }

bool DeviceContainer::Open(const std::wstring& path) {
    m_deviceModel.clear();
    m_slvp.clear();
    m_masterIcd.clear();
    m_languages.clear();
    m_path = path;
    if (!m_archive.Open(path)) return false;
    if (Verify()) return true;
    const std::wstring details = m_errorText.empty() ? L"Unknown" : platform::AnsiToWide(m_errorText);
    platform::ShowMessageBox("Internal Error from DeviceContainer!\nFile: " + platform::WideToUtf8(path) +
                             "\nError Details: " + platform::WideToUtf8(details));
    return false;
}

std::string* DeviceContainer::FieldFor(const std::string& name) {
    if (name == "DeviceModel") return &m_deviceModel;
    if (name == "SLVP") return &m_slvp;
    if (name == "MasterICD") return &m_masterIcd;
    if (name == "AccessControlConfig") return &m_accessControlConfig;
    return nullptr;
}

// Reads the entry positioned on into its field (or a new language entry) and
// appends the field's text to the checksummed data.
void DeviceContainer::ReadCoveredEntry(const std::string& name, std::string& data) {
    std::string* field = FieldFor(name);
    std::string languageText;
    std::string& target = field != nullptr ? *field : languageText;
    uint64_t inflated = 0;
    if (m_inflatedTotal < kInflateBudget) {
        m_archive.ExtractCurrentEntry(target, platform::kMaxFileSize, inflated);
        m_inflatedTotal += inflated;
    }
    data += target;
    if (field == nullptr) {
        const std::wstring wideName = platform::AnsiToWide(name);
        m_languages.push_back(LanguageEntry{wideName, wideName.substr(wideName.size() - 3), languageText});
    }
}

bool DeviceContainer::Verify() {
    std::string metaText, nameSLVP, expected;
    if (!m_archive.ReadEntry("MetaData", metaText)) {
        m_errorText = "Can not find meta data!";
        return false;
    }
    if (!m_metaData.Load(metaText, nameSLVP, expected)) {
        m_errorText = m_metaData.ErrorText();
        return false;
    }
    uint64_t count = 0;
    if (!m_archive.EntryCount(count)) return false;
    std::string data;
    bool positioned = m_archive.GoToFirstEntry();
    for (uint64_t index = 0; index < count && positioned; ++index, positioned = m_archive.GoToNextEntry()) {
        std::string name;
        if (!m_archive.CurrentEntryName(name)) continue;
        if (FieldFor(name) != nullptr || IsLanguageEntryName(name)) ReadCoveredEntry(name, data);
    }
    if (platform::Md5Hex::Of(data) != expected) {
        m_errorText = "Invalid container data checksum!";
        return false;
    }
    return true;
}

void DeviceContainer::ReadDeviceModel(std::string& text) { m_archive.ReadEntry("DeviceModel", text); }

bool DeviceContainer::ReadLanguageTexts(const std::wstring& language, std::string& text) const {
    for (const LanguageEntry& entry : m_languages) {
        if (platform::EqualsIgnoringAsciiCase(entry.code, language)) {
            text = entry.text;
            return true;
        }
    }
    return false;
}

}  // namespace container
