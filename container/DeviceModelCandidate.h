// The device-model files a folder offers for plain records: which files are
// listed, how a file name encodes a device type and version, and which file
// a record of a given device name and version selects.
//
// File names look like "<type>_V<version>.<extension>", for example
// "CVR87_V04.10.02.DeCon" or "CVR87_V04.10.dm_c"; "_Download" and remarks
// in parentheses after a version field are ignored.
#ifndef DR_MVQ4_CONTAINER_DEVICE_MODEL_CANDIDATE_H
#define DR_MVQ4_CONTAINER_DEVICE_MODEL_CANDIDATE_H

#include <string>
#include <vector>

namespace container {

struct DeviceModelCandidate {
    std::string type;      // device type encoded in the file name
    std::string version;   // encoded version (lines 1 to 3: its first two fields)
    std::string fileName;  // without folder
    std::string fullPath;  // folder text followed directly by the file name
    bool compressed = false;
};

// How a record's device name and version steer the lookup:
// 1, 2, 3: new-style version, name beginning with "M", "X", "W": device
//          containers of that letter only, two-field versions, newest wins;
// 4:       old-style version, name beginning with "ZO": device containers;
// 5:       old-style version, the first "3" of the name is its fourth
//          character: device containers;
// 0:       anything else: device containers, then model files.
int ProductLine(const std::string& deviceName, const std::string& deviceVersion);

// A new-style version has at least 9 characters, "." as its fifth or ninth,
// and three leading digits.
bool IsNewStyleVersion(const std::string& version);

// Type and version encoded in a file name (with or without extension).
// A name that encodes no version gives the whole base name and "?".
void DecodeModelFileName(const std::string& fileName, std::string& type, std::string& version);

// The candidates of one folder for one product line, sorted by type and
// version.
class DeviceModelCandidates {
public:
    DeviceModelCandidates(std::string folderText, int productLine);

    // Lists the folder: device containers, then (line 0) model files.
    void List();
    // Adds one listed file, as the listing does; `container` tells which of
    // the two listings found it.
    void Examine(const std::string& fileName, bool container);
    // Keeps lines 1 to 3 to their letter and sorts.
    void Finish();

    // The first candidate whose type and version equal the record's, or null.
    const DeviceModelCandidate* Select(const std::string& deviceName, const std::string& deviceVersion) const;
    const std::vector<DeviceModelCandidate>& All() const { return m_candidates; }

private:
    bool HasTypeAndVersion(const std::string& type, const std::string& version) const;
    void AddNewestOfLine(DeviceModelCandidate candidate);

    std::string m_folderText;
    int m_productLine;
    std::vector<DeviceModelCandidate> m_candidates;
};

}  // namespace container

#endif
