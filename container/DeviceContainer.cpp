#include "container/DeviceContainer.h"

#include "platform/MessageBox.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kLanguagePrefix = "DeviceModel";
constexpr size_t kLanguageNameLength = 17;

bool IsLanguageEntryName(const std::string& name) {
    return name.size() == kLanguageNameLength && name.compare(0, 11, kLanguagePrefix) == 0;
}

}  // namespace

DeviceContainer::DeviceContainer() : m_budget(m_ownBudget), m_metaData(ContainerMetaData::Variant::DeviceContainer) {}

DeviceContainer::DeviceContainer(platform::LoadBudget& budget)
    : m_budget(budget), m_metaData(ContainerMetaData::Variant::DeviceContainer) {}

DeviceContainer::~DeviceContainer() { m_archive.Close(); }

bool DeviceContainer::Open(const std::wstring& path) {
    m_deviceModel.clear();
    m_slvp.clear();
    m_masterIcd.clear();
    m_languages.clear();
    m_deviceModelEntry = ~uint64_t{0};
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
// adds the field's text to the checksummed data.
void DeviceContainer::ReadCoveredEntry(const std::string& name, platform::Md5Hex& data) {
    std::string* field = FieldFor(name);
    std::string languageText;
    std::string& target = field != nullptr ? *field : languageText;
    m_archive.ExtractCurrentEntry(target, m_budget);
    data.Update(target);
    if (field == nullptr) {
        const std::wstring wideName = platform::AnsiToWide(name);
        m_languages.push_back(LanguageEntry{wideName, wideName.substr(wideName.size() - 3), languageText});
    }
}

bool DeviceContainer::Verify() {
    std::string metaText, nameSLVP, expected;
    // The meta data's document tree is paid for like its text.
    if (!m_archive.ReadEntry("MetaData", metaText, m_budget) ||
        !m_budget.ReserveDocument(metaText)) {
        m_errorText = "Can not find meta data!";
        return false;
    }
    if (!m_metaData.Load(metaText, nameSLVP, expected)) {
        m_errorText = m_metaData.ErrorText();
        return false;
    }
    platform::Md5Hex data;
    const bool walked = m_archive.ForEachEntry([&](const std::string& name, uint64_t index) {
        if (name == "DeviceModel") m_deviceModelEntry = index;
        if (FieldFor(name) != nullptr || IsLanguageEntryName(name)) ReadCoveredEntry(name, data);
    });
    if (!walked) return false;
    if (data.Finish() != expected) {
        m_errorText = "Invalid container data checksum!";
        return false;
    }
    return true;
}

bool DeviceContainer::Copy(const std::string& from, std::string& to) {
    if (!m_budget.Reserve(from.size())) return false;
    to = from;
    return true;
}

// The entry a lookup by name finds is the one verification read when it is
// the last entry named exactly "DeviceModel"; any other is inflated here.
void DeviceContainer::ReadDeviceModel(std::string& text) {
    unz64_file_pos position{};
    if (!m_archive.Locate("DeviceModel") || !m_archive.CurrentPosition(position)) return;
    if (position.num_of_file == m_deviceModelEntry) {
        Copy(m_deviceModel, text);
    } else {
        m_archive.ExtractCurrentEntry(text, m_budget);
    }
}

bool DeviceContainer::ReadLanguageTexts(const std::wstring& language, std::string& text) {
    for (const LanguageEntry& entry : m_languages) {
        if (platform::EqualsIgnoringAsciiCase(entry.code, language)) return Copy(entry.text, text);
    }
    return false;
}

}  // namespace container
