// Fixture writer for the device-models folder: device containers (".DeCon")
// whose meta data covers "DeviceModel", "SLVP", "MasterICD",
// "AccessControlConfig" and the language entries in archive order, and
// device-model files (".dm", zlib-compressed ".dm_c") with their language
// files.
#ifndef DR_MVQ4_TESTS_SUPPORT_DEVICE_CONTAINER_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_DEVICE_CONTAINER_FIXTURE_H

#include <string>
#include <utility>
#include <vector>

#include "support/ContainerFixture.h"
#include "support/RecordFixture.h"

namespace fixture {

class DeviceContainerBuilder {
public:
    // A valid container holding `model` and the three companion entries,
    // syntax version 1.
    explicit DeviceContainerBuilder(const std::string& model = "<Model/>");

    // Adds "DeviceModel_l_<code>" with `text`.
    DeviceContainerBuilder& Language(const std::string& code, const std::string& text);
    // Adds or replaces an entry, covered by the checksum when it is one of
    // the covered kinds.
    DeviceContainerBuilder& Entry(const std::string& name, const std::string& text);
    DeviceContainerBuilder& VersionSyntax(const std::string& version);
    // Replaces the computed container-data checksum.
    DeviceContainerBuilder& Checksum(const std::string& checksum);
    // Leaves "MetaData" out.
    DeviceContainerBuilder& WithoutMetaData();

    std::string Bytes() const;
    std::string Write(const TempDir& dir, const std::string& name) const;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;  // archive order
    std::string m_version = "1";
    std::string m_checksum;  // empty: computed
    bool m_withMetaData = true;
};

// zlib stream of `text`, as a ".dm_c" file holds it.
std::string Compressed(const std::string& text);

}  // namespace fixture

#endif
