// The device-model step of a record load: loads the model and language texts
// into a CDataModelToHMI, walks private copies of both documents once and
// fills the record's channel text table, from which analog channels, units
// and digital signals are named.
//
// A model that fails its load checks is still walked: its texts still
// answer, only the derived facts (ANSI device numbers, MDM section) stay
// unset. A copy that is not well-formed, or whose root element has no child,
// gives no entries at all; the record then falls back to its own names.
#ifndef DR_MVQ4_DEVICEMODEL_DEVICE_MODEL_CONTEXT_H
#define DR_MVQ4_DEVICEMODEL_DEVICE_MODEL_CONTEXT_H

#include <pugixml.hpp>
#include <string>

#include "devicemodel/ExtendedSettingsSet.h"
#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/ElementModuleList.h"
#include "devicemodel/ChannelTextTable.h"

namespace devicemodel {

class DeviceModelContext {
public:
    DeviceModelContext() = default;
    DeviceModelContext(const DeviceModelContext&) = delete;
    DeviceModelContext& operator=(const DeviceModelContext&) = delete;

    // See ApplyDeviceModel. The ANSI device numbers are displayed only when
    // the caller asks for them and the model maps them.
    bool Apply(const std::string& modelText, const std::string& languageText,
               const devicemodel::ExtendedSettingsSet& settings, bool displayAnsiDeviceNumbers,
               devicemodel::ChannelTextTable& table);

    const CDataModelToHMI& Model() const { return m_model; }
    const ElementModuleList& ElementModules() const { return m_elementModules; }

private:
    // Parses a private copy; false only when there is no memory for it.
    static bool ParseCopy(const std::string& text, pugi::xml_document& copy, pugi::xml_node& top);

    CDataModelToHMI m_model;
    pugi::xml_document m_modelCopy;
    pugi::xml_document m_languageCopy;
    pugi::xml_node m_modelTop;
    pugi::xml_node m_languageTop;
    ElementModuleList m_elementModules;
};

// Loads the model and language texts, walks both documents once and fills
// `table`. False only when a private copy of a document cannot be created.
bool ApplyDeviceModel(const std::string& modelText, const std::string& languageText,
                      const devicemodel::ExtendedSettingsSet& settings, bool displayAnsiDeviceNumbers,
                      devicemodel::ChannelTextTable& table);

}  // namespace devicemodel

#endif
