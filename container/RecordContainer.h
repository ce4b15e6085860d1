// A record file as a container: whether a file is one, and the record text
// of a plain record file or of a container's "RecorderData" entry.
#ifndef DR_MVQ4_CONTAINER_RECORD_CONTAINER_H
#define DR_MVQ4_CONTAINER_RECORD_CONTAINER_H

#include <string>

namespace container {

class RecordContainer {
public:
    RecordContainer() = default;
    virtual ~RecordContainer() = default;
    RecordContainer(const RecordContainer&) = delete;
    RecordContainer& operator=(const RecordContainer&) = delete;

    // True when the file exists, can be read and starts with "PK".
    bool IsContainer(const std::wstring& path);
    // Opens the archive and verifies it. Containers are not read yet: this
    // fails, and the load treats the record as one without a device model.
    bool OpenContainer(const std::wstring& path);
    bool ReadRecorderData(std::string& text);

    const std::string& ErrorText() const { return m_errorText; }

private:
    std::string m_errorText;
};

// The record XML text of the file at `path`: the whole file for a plain
// record, the "RecorderData" entry for a container. A plain file that cannot
// be opened is reported through the file-error message.
bool LoadRecordText(const std::wstring& path, std::string& text);

}  // namespace container

#endif
