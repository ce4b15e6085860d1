#include "devicemodel/DeviceModelContext.h"

#include "devicemodel/ChannelTextWalker.h"
#include "devicemodel/TextReplacements.h"
#include "devicemodel/TreeWalker.h"

namespace devicemodel {

namespace {

// Processing instructions stay, comments go.
constexpr unsigned kCopyOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi;

}  // namespace

bool DeviceModelContext::ParseCopy(const std::string& text, pugi::xml_document& copy, pugi::xml_node& top) {
    top = pugi::xml_node();
    const pugi::xml_parse_result result = copy.load_buffer(
        text.c_str(), std::char_traits<char>::length(text.c_str()), kCopyOptions, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory) return false;
    if (!result) {
        copy.reset();
        return true;
    }
    top = copy.document_element().first_child();
    return true;
}

bool DeviceModelContext::Apply(const std::string& modelText, const std::string& languageText,
                               const devicemodel::ExtendedSettingsSet& settings, bool displayAnsiDeviceNumbers,
                               devicemodel::ChannelTextTable& table) {
    DeviceModelError error;
    m_model.Load(modelText, error);
    m_model.LoadLanguage(languageText);
    m_model.SetDisplayAnsiDeviceNumbers(m_model.HasAnsiDeviceNumbers() && displayAnsiDeviceNumbers);
    m_elementModules.Clear();
    if (!ParseCopy(languageText, m_languageCopy, m_languageTop) ||
        !ParseCopy(modelText, m_modelCopy, m_modelTop)) {
        return false;
    }
    if (!m_modelTop || !m_languageTop) return true;
    ElementModuleWalker modules(m_modelTop.name(), m_elementModules);
    Traverse(m_modelTop, modules);
    TextReplacements replacements(settings, m_model);
    ChannelTextWalker texts(m_model, m_languageTop, m_elementModules, replacements, table);
    Traverse(m_languageTop, texts);
    return true;
}

bool ApplyDeviceModel(const std::string& modelText, const std::string& languageText,
                      const devicemodel::ExtendedSettingsSet& settings, bool displayAnsiDeviceNumbers,
                      devicemodel::ChannelTextTable& table) {
    DeviceModelContext context;
    return context.Apply(modelText, languageText, settings, displayAnsiDeviceNumbers, table);
}

}  // namespace devicemodel
