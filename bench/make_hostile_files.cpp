// Writes the hostile files of bench/hostile_files.sh into a folder, one per
// case, through the tests' fixture writers. The FIFOs are the script's.
//
//   make_hostile_files FOLDER
#include <cstdio>
#include <string>
#include <vector>

#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/RecordFixture.h"

namespace {

constexpr uint32_t kGiB = uint32_t{1} << 30;

// A record of one channel whose device has models named CVR87_V04.10.02.*.
fixture::RecordBuilder Record() {
    return fixture::RecordBuilder().Device("CVR87", "04.10.02").AddAnalog("1", "I", {1, 2, 3});
}

// A record container whose entries after the record are `extra`, in the
// directory order `at` gives (see SharedHeaderZip).
std::string ContainerWith(const std::vector<fixture::ZipEntry>& extra, std::vector<size_t> at = {}) {
    fixture::RecordContainerBuilder builder;
    builder.RecorderData(Record());
    std::vector<fixture::ZipEntry> entries = {{"MetaData", builder.MetaDataText()},
                                              {"RecorderData", Record().Xml()}};
    entries.insert(entries.end(), extra.begin(), extra.end());
    if (at.empty()) return fixture::ZipBytes(entries);
    at.insert(at.begin(), {0, 1});
    return fixture::SharedHeaderZip(entries, at);
}

std::vector<fixture::ZipEntry> Copies(const fixture::ZipEntry& entry, int count, const std::string& prefix) {
    std::vector<fixture::ZipEntry> copies(static_cast<size_t>(count), entry);
    for (int i = 0; i < count; ++i) copies[static_cast<size_t>(i)].name = prefix + std::to_string(10 + i);
    return copies;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_hostile_files FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const auto write = [&folder](const std::string& name, const std::string& bytes) {
        fixture::WriteFile(folder + "/" + name, bytes);
    };
    write("gap_bomb.xml", fixture::GapBomb(5, (int64_t{1} << 26) - 2).Xml());
    write("digital_declared.xml", fixture::DeclaredSamples(64, int64_t{1} << 26, false).Xml());
    write("logical_declared.xml", fixture::DeclaredSamples(64, int64_t{1} << 26, true).Xml());
    write("huge_name.xml",
          Record().Device(std::string(100 << 20, 'N'), "V1").Xml());
    std::string tags = "<DistFile>";
    for (int i = 0; i < 25 << 20; ++i) tags += "<a/>";
    write("tag_bomb.xml", tags + "</DistFile>");

    const fixture::ZipEntry bomb = fixture::RepeatedEntry("Bomb", kGiB + (kGiB >> 3));
    write("zip_bomb.zip", ContainerWith({bomb}));
    write("three_on_one_header.zip", ContainerWith(Copies(bomb, 3, "Bomb"), {2, 2, 2}));
    const fixture::ZipEntry hundred = fixture::RepeatedEntry("E", 100 << 20);
    write("forty_on_one_header.zip", ContainerWith(Copies(hundred, 40, "E"), std::vector<size_t>(40, 2)));
    write("overlapping_data.zip", fixture::NestedZip({"RecorderData", Record().Xml()}));

    // A plain record whose device container holds ten language entries of 1 GiB each.
    fixture::DeviceModelBuilder model;
    fixture::DeviceContainerBuilder device(model.ModelXml());
    std::vector<fixture::ZipEntry> entries = {{"MetaData", device.MetaDataText()},
                                              {"DeviceModel", model.ModelXml()},
                                              {"SLVP", "<SLVP/>"},
                                              {"MasterICD", "<ICD/>"},
                                              {"AccessControlConfig", "<Access/>"}};
    const std::vector<fixture::ZipEntry> languages = Copies(fixture::RepeatedEntry("L", kGiB), 10, "DeviceModel_l_L");
    entries.insert(entries.end(), languages.begin(), languages.end());
    write("device_bomb/models/CVR87_V04.10.02.DeCon", fixture::ZipBytes(entries));
    write("device_bomb/record.xml", Record().Xml());

    // A model whose language file the script replaces by a FIFO.
    write("language_fifo/models/CVR87_V04.10.02.dm", model.ModelXml());
    write("language_fifo/record.xml", Record().Xml());

    // A 40 MB settings file and a record of 1000 channels.
    std::string settings = "Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings]\r\n";
    for (int i = 0; settings.size() < (40u << 20); ++i) {
        settings += "\"name" + std::to_string(i) + "\"=\"" + std::string(100, 'v') + "\"\r\n";
    }
    write("settings/settings.reg", settings);
    fixture::RecordBuilder wide;
    for (int i = 1; i <= 1000; ++i) wide.AddAnalog(std::to_string(i), "C" + std::to_string(i), {1, 2, 3});
    write("settings/record.xml", wide.Xml());
    return 0;
}
