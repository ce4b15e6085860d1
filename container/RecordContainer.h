// A record file as a container: whether a file is one, its verification, and
// the texts it carries for a load: the record XML ("RecorderData"), the
// relay's device model ("DeviceModel"), the model's texts in one language
// ("DeviceModel_l_" + language code) and the extended settings that rename
// model texts ("ExtendedSettings"). Also the loader of the record text that
// serves plain record files as well.
//
// One object per load, used on the loading thread: the record text and the
// device model come from the same object, so that the file is recognised,
// opened, verified and inflated once, within the load's budget. Entries are read only after
// OpenContainer; the archive stays open until destruction. Failures are
// false results; the reason of a failed IsContainer or OpenContainer is kept
// in ErrorText() and is never shown.
#ifndef DR_MVQ4_CONTAINER_RECORD_CONTAINER_H
#define DR_MVQ4_CONTAINER_RECORD_CONTAINER_H

#include <string>

#include "container/ContainerFile.h"
#include "container/ContainerMetaData.h"
#include "devicemodel/ExtendedSettingsSet.h"

namespace container {

class RecordContainer {
public:
    // Within a default budget of the object's own, or the load's.
    RecordContainer() = default;
    explicit RecordContainer(platform::LoadBudget& budget) : m_file(budget) {}
    virtual ~RecordContainer() = default;
    RecordContainer(const RecordContainer&) = delete;
    RecordContainer& operator=(const RecordContainer&) = delete;

    // True when the file exists, can be read and starts with "PK". Asked
    // again for the same path, the object answers as it did the first time.
    bool IsContainer(const std::wstring& path);
    // Opens the archive and verifies its meta data and container-data
    // checksum; true only when the container is intact. Asked again for the
    // same path, the object keeps its archive and answers as before.
    bool OpenContainer(const std::wstring& path);
    // Opens the archive for reading entries without verifying it (see
    // ContainerFile::OpenForListing); instead of OpenContainer.
    bool OpenForListing(const std::wstring& path) { return m_file.OpenForListing(path); }

    // The record XML text of the file at `path`: the whole file for a plain
    // record, the "RecorderData" entry of a verified container. False when a
    // container does not verify or lacks the entry, and when a plain file
    // cannot be read or is larger than the budget allows; the latter two are
    // reported through the file-error message.
    bool LoadRecordText(const std::wstring& path, std::string& text);

    // The texts of "RecorderData" and "DeviceModel": false when the entry is
    // missing or unreadable, `text` unchanged then.
    bool ReadRecorderData(std::string& text);
    bool ReadDeviceModel(std::string& text);
    // The language texts for `language` (a three-letter code, ASCII case
    // ignored): an entry whose name is 17 bytes long and ends in the code.
    // When several match, the last in byte order of names decides text and
    // result. False when none matches.
    bool ReadLanguageTexts(const std::wstring& language, std::string& text);
    // Fills `set` from a verified "ExtendedSettings" entry; `set` is cleared
    // first and stays empty when the entry is missing or fails verification.
    // True when the set holds at least one pair.
    bool ReadExtendedSettings(devicemodel::ExtendedSettingsSet& set);

    // The reason of the last failed IsContainer or OpenContainer.
    const std::string& ErrorText() const { return m_errorText; }
    // The "ExtendedSettings" document as last read; its ErrorText() tells why
    // a read failed verification.
    const ContainerMetaData& ExtendedSettings() const { return m_extendedSettings; }

private:
    // The path a question was answered for, and the answer.
    struct Answer {
        std::wstring path;
        bool asked = false;
        bool result = false;
    };

    ContainerFile m_file;
    ContainerMetaData m_extendedSettings;
    std::string m_errorText;
    Answer m_isContainer;
    Answer m_opened;
};

// RecordContainer::LoadRecordText on an object of its own.
bool LoadRecordText(const std::wstring& path, std::string& text);

}  // namespace container

#endif
