// A device container (".DeCon"): the device model of one device type and
// version with its language texts and companion entries, guarded by the
// container's meta data. Opened and verified once per load by the
// device-model lookup: verification inflates every covered entry once, and
// the texts are served from there. What it inflates and hands out is
// reserved in the load's budget; an entry over the budget counts as empty
// (so the container fails verification). Unlike a record container it tells
// the user when verification fails (one message through the message box).
#ifndef DR_MVQ4_CONTAINER_DEVICE_CONTAINER_H
#define DR_MVQ4_CONTAINER_DEVICE_CONTAINER_H

#include <cstdint>
#include <string>
#include <vector>

#include "container/ContainerMetaData.h"
#include "container/ZipArchive.h"
#include "platform/LoadBudget.h"
#include "platform/Md5Hex.h"

namespace container {

class DeviceContainer {
public:
    // Within a default budget of the object's own, or the load's.
    DeviceContainer();
    explicit DeviceContainer(platform::LoadBudget& budget);
    virtual ~DeviceContainer();
    DeviceContainer(const DeviceContainer&) = delete;
    DeviceContainer& operator=(const DeviceContainer&) = delete;

    // Opens and verifies the container. False without a message when the file
    // is no archive; false after showing "Internal Error from
    // DeviceContainer!..." when verification fails.
    bool Open(const std::wstring& path);
    // The "DeviceModel" entry (name without regard to case); `text` is
    // unchanged when it is missing or over the budget.
    void ReadDeviceModel(std::string& text);
    // The text of the first language entry (archive order) whose code equals
    // `language` ignoring case; false and `text` unchanged when none does or
    // the budget has no room for the copy.
    bool ReadLanguageTexts(const std::wstring& language, std::string& text);

    const std::string& ErrorText() const { return m_errorText; }

private:
    struct LanguageEntry {
        std::wstring name;
        std::wstring code;  // the name's last three characters
        std::string text;
    };

    bool Verify();
    void ReadCoveredEntry(const std::string& name, platform::Md5Hex& data);
    std::string* FieldFor(const std::string& name);
    bool Copy(const std::string& from, std::string& to);

    platform::LoadBudget m_ownBudget;  // when no budget is handed in
    platform::LoadBudget& m_budget;
    ZipArchive m_archive;
    std::wstring m_path;
    std::string m_errorText;
    ContainerMetaData m_metaData;
    std::string m_deviceModel;
    uint64_t m_deviceModelEntry = ~uint64_t{0};  // directory index of the entry in m_deviceModel
    std::string m_slvp;
    std::string m_masterIcd;
    std::string m_accessControlConfig;
    std::vector<LanguageEntry> m_languages;
};

}  // namespace container

#endif
