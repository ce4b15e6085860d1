// Fuzz entry point: the device-model folder of a plain record. The input is
// a record's device name, version and language and a folder of files, laid
// out as
//   name, version, language: one length byte each, then the bytes;
//   file count: one byte (at most kMaxFiles are used);
//   per file: one byte with the name length (low 7 bits; the high bit makes
//             it a folder instead), the name, a 32-bit little-endian content
//             size (capped at kMaxFileSize and at what is left), the content.
// The files are written into an emptied device-models folder and the lookup
// runs there as a load runs it; a model it finds is applied to a channel
// table with its language texts.
#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <system_error>

#include "FuzzInput.h"
#include "container/DeviceModelLookup.h"
#include "devicemodel/ChannelTextTable.h"
#include "devicemodel/DeviceModelContext.h"
#include "devicemodel/ExtendedSettingsSet.h"
#include "module/LoadSequence.h"
#include "platform/AppDataFolder.h"
#include "platform/TextConversion.h"
#include "settings/LoadOptions.h"

namespace {

constexpr size_t kMaxFiles = 16;
constexpr uint32_t kMaxFileSize = 1u << 20;

// The product family whose default folder is also where new-style versions
// are looked up, so one folder serves every product line.
const char* const kProductFamily = "MVQ3PL";

// The company folder of this process in the application-data folder; on
// Linux the application-data folder itself is a temporary one.
struct CompanyFolder {
    CompanyFolder() {
        const std::string unique = "dr_mvq4-fuzz-" + std::to_string(std::random_device()());
#ifndef _WIN32
        const std::filesystem::path appData = std::filesystem::temp_directory_path() / unique;
        std::filesystem::create_directories(appData);
        setenv("DR_MVQ4_COMMON_APPDATA", appData.string().c_str(), 1);
        ownAppData = appData;
#endif
        company = unique;
        path = std::filesystem::u8path(platform::CommonAppDataFolder()) / company;
        models = path / kProductFamily / "DeviceModels";
    }
    ~CompanyFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
        if (!ownAppData.empty()) std::filesystem::remove_all(ownAppData, ignored);
    }

    std::string company;
    std::filesystem::path path;
    std::filesystem::path models;
    std::filesystem::path ownAppData;
};

const CompanyFolder& Folder() {
    static const CompanyFolder folder;
    return folder;
}

// A file name that stays inside the folder, or empty.
std::string SafeName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return "";
    for (const char c : name) {
        if (c == '/' || c == '\\' || c == '\0') return "";
    }
    return name;
}

void WriteEntry(const std::filesystem::path& folder, const std::string& name, bool isFolder,
                const std::string& content) {
    std::error_code error;
    std::filesystem::path path;
    try {
        path = folder / std::filesystem::u8path(name);
    } catch (const std::exception&) {
        return;  // not a name this system can hold
    }
    if (isFolder) {
        std::filesystem::create_directory(path, error);
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void BuildFolder(FuzzInput& input) {
    const std::filesystem::path& models = Folder().models;
    std::error_code error;
    std::filesystem::remove_all(models, error);
    std::filesystem::create_directories(models, error);
    uint8_t count = 0;
    if (!input.Byte(count)) return;
    for (size_t i = 0; i < count && i < kMaxFiles; ++i) {
        uint8_t kind = 0;
        std::string name, content;
        uint32_t size = 0;
        if (!input.Byte(kind) || !input.Bytes(kind & 0x7f, name)) return;
        const bool isFolder = (kind & 0x80) != 0;
        if (!isFolder && input.Size(size)) input.Bytes(size < kMaxFileSize ? size : kMaxFileSize, content);
        name = SafeName(name);
        if (!name.empty()) WriteEntry(models, name, isFolder, content);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    std::string deviceName, deviceVersion, language;
    input.ShortText(deviceName);
    input.ShortText(deviceVersion);
    input.ShortText(language);
    try {
        BuildFolder(input);
        settings::LoadOptions options;
        options.companyName = platform::Utf8ToWide(Folder().company);
        options.productFamily = platform::Utf8ToWide(kProductFamily);
        container::DeviceModelLookup lookup;
        FolderModel model;
        if (FindFolderModel(lookup, options, platform::Utf8ToWide(deviceName), platform::AnsiToWide(deviceVersion),
                            platform::AnsiToWide(language), model)) {
            devicemodel::ChannelTextTable table;
            const devicemodel::ExtendedSettingsSet noSettings;
            devicemodel::ApplyDeviceModel(model.modelText, model.languageText, noSettings, false, table);
        }
        lookup.Release();
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
