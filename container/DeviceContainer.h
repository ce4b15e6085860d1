// A device container (".DeCon"): the device model of one device type and
// version with its language texts and companion entries, guarded by the
// container's meta data. Opened and verified once per read by the
// device-model lookup. Unlike a record container it tells the user when
// verification fails (one message through the message box).
#ifndef DR_MVQ4_CONTAINER_DEVICE_CONTAINER_H
#define DR_MVQ4_CONTAINER_DEVICE_CONTAINER_H

#include <cstdint>
#include <string>
#include <vector>

#include "container/ContainerMetaData.h"
#include "container/ZipArchive.h"

namespace container {

class DeviceContainer {
public:
    DeviceContainer();
    virtual ~DeviceContainer();
    DeviceContainer(const DeviceContainer&) = delete;
    DeviceContainer& operator=(const DeviceContainer&) = delete;

    // Opens and verifies the container. False without a message when the file
    // is no archive; false after showing "Internal Error from
    // DeviceContainer!..." when verification fails.
    bool Open(const std::wstring& path);
    // The "DeviceModel" entry (name without regard to case) read again;
    // `text` is unchanged when it is missing.
    void ReadDeviceModel(std::string& text);
    // The text of the first language entry (archive order) whose code equals
    // `language` ignoring case; false and `text` unchanged when none does.
    bool ReadLanguageTexts(const std::wstring& language, std::string& text) const;

    const std::string& ErrorText() const { return m_errorText; }

private:
    struct LanguageEntry {
        std::wstring name;
        std::wstring code;  // the name's last three characters
        std::string text;
    };

    bool Verify();
    void ReadCoveredEntry(const std::string& name, std::string& data);
    std::string* FieldFor(const std::string& name);

    ZipArchive m_archive;
    std::wstring m_path;
    std::string m_errorText;
    ContainerMetaData m_metaData;
    std::string m_deviceModel;
    std::string m_slvp;
    std::string m_masterIcd;
    std::string m_accessControlConfig;
    std::vector<LanguageEntry> m_languages;
    uint64_t m_inflatedTotal = 0;
};

}  // namespace container

#endif
