#include "container/RecordContainer.h"

#include <cstring>

#include "platform/FileAccess.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

// "DeviceModel" followed by "_l_" and a three-letter language code.
constexpr size_t kLanguageEntryLength = sizeof("DeviceModel") - 1 + sizeof("_l_xxx") - 1;
constexpr size_t kLanguageCodeLength = 3;

bool HasType(pugi::xml_node node, const char* type) {
    return std::strcmp(node.attribute("type").value(), type) == 0;
}

// Two levels below the root: sections of type "sectionTextReplacement" and
// their "textReplacement" and "overload" items, in document order.
void CollectPairs(pugi::xml_node root, devicemodel::ExtendedSettingsSet& set) {
    for (pugi::xml_node section : root.children()) {
        if (!HasType(section, "sectionTextReplacement")) continue;
        for (pugi::xml_node item : section.children()) {
            if (HasType(item, "textReplacement")) {
                set.textReplacements.push_back({item.attribute("name").value(), item.attribute("ref").value()});
            } else if (HasType(item, "overload")) {
                set.overloads.push_back({item.attribute("from").value(), item.attribute("to").value()});
            }
        }
    }
}

bool ReadPlainFile(const std::wstring& path, std::string& text, platform::LoadBudget& budget) {
    const std::string utf8Path = platform::WideToUtf8(path);
    int error = 0;
    std::string bytes;
    if (!platform::ReadWholeFile(utf8Path, bytes, error, budget)) {
        platform::ReportFileError(utf8Path, error);
        return false;
    }
    text.swap(bytes);
    return true;
}

}  // namespace

bool RecordContainer::IsContainer(const std::wstring& path) {
    if (m_isContainer.asked && m_isContainer.path == path) return m_isContainer.result;
    const bool result = m_file.IsContainer(path);
    if (!result) m_errorText = m_file.ErrorText();
    m_isContainer = Answer{path, true, result};
    return result;
}

bool RecordContainer::OpenContainer(const std::wstring& path) {
    if (m_opened.asked && m_opened.path == path) {
        if (!m_opened.result) m_errorText = "OpenContainer fails\n" + m_file.ErrorText();
        return m_opened.result;
    }
    const bool result = m_file.OpenContainer(path);
    if (!result) m_errorText = "OpenContainer fails\n" + m_file.ErrorText();
    m_opened = Answer{path, true, result};
    return result;
}

bool RecordContainer::LoadRecordText(const std::wstring& path, std::string& text) {
    if (IsContainer(path)) return OpenContainer(path) && ReadRecorderData(text);
    return ReadPlainFile(path, text, m_file.Budget());
}

// The record is read once per load: its text is handed over, not copied.
bool RecordContainer::ReadRecorderData(std::string& text) { return m_file.TakeEntry("RecorderData", text); }

bool RecordContainer::ReadDeviceModel(std::string& text) { return m_file.ReadEntry("DeviceModel", text); }

// The first characters of a name are not examined: any 17-byte name ending
// in the code matches. Names are decoded with the ANSI code page.
bool RecordContainer::ReadLanguageTexts(const std::wstring& language, std::string& text) {
    bool result = false;
    for (const std::string& name : m_file.EntryNames()) {
        if (name.size() != kLanguageEntryLength) continue;
        const std::wstring wide = platform::AnsiToWide(name);
        if (wide.size() < kLanguageCodeLength) continue;
        if (platform::EqualsIgnoringAsciiCase(wide.substr(wide.size() - kLanguageCodeLength), language)) {
            result = m_file.ReadEntry(name, text);
        }
    }
    return result;
}

bool RecordContainer::ReadExtendedSettings(devicemodel::ExtendedSettingsSet& set) {
    set.Clear();
    std::string text;
    if (!m_file.ReadEntry("ExtendedSettings", text)) return false;
    if (!m_file.Budget().ReserveDocument(text)) return false;
    if (!m_extendedSettings.LoadExtendedSettings(text)) return false;
    CollectPairs(m_extendedSettings.Root(), set);
    return !set.Empty();
}

bool LoadRecordText(const std::wstring& path, std::string& text) { return RecordContainer().LoadRecordText(path, text); }

}  // namespace container
