// Fuzz entry point: the entries of a record container. They are written into
// an archive beside a "MetaData" entry whose checksums match them, so that
// mutated entries pass the container check, reach the entry readers and go
// through a whole load. The input is laid out as
//   entry count: one byte (at most kMaxEntries are used);
//   per entry: the name as one length byte and its bytes, a 32-bit
//              little-endian content size (capped at kMaxEntrySize and at
//              what is left), the content.
// An entry named "MetaData" replaces the computed one.
#include "FuzzTarget.h"

#include <zip.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "ReaderExercise.h"
#include "container/RecordContainer.h"
#include "devicemodel/ExtendedSettingsSet.h"
#include "dr_mvq4/DisturbanceDataReader.h"
#include "module/LoadSequence.h"
#include "platform/Md5Hex.h"
#include "platform/TextConversion.h"

namespace {

constexpr size_t kMaxEntries = 8;
constexpr uint32_t kMaxEntrySize = 1u << 20;

const std::filesystem::path& ArchivePath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("dr_mvq4-fuzz-entries-" + std::to_string(std::random_device()()) + ".zip");
    return path;
}

// The producer's self-checksummed layout: the document, then a comment with
// the digest and length of everything before it.
std::string SelfChecksummed(const std::string& root) {
    const std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + root + "\n";
    char length[16];
    std::snprintf(length, sizeof length, "%08zu", body.size());
    return body + "<!--CHECKSUM:" + platform::Md5Hex::Of(body) + " LENGTH:" + length + "-->\n";
}

// Meta data whose container checksum covers the entries' texts joined in
// byte order of their names.
std::string MetaData(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::map<std::string, std::string> byName(entries.begin(), entries.end());
    std::string joined;
    for (const auto& entry : byName) joined += entry.second;
    return SelfChecksummed("<MetaData checksumContainerData=\"" + platform::Md5Hex::Of(joined) +
                           "\" versionSyntax=\"1\" nameSLVP=\"CVR87_V04.10.02\" generator=\"fuzz\"/>");
}

bool WriteArchive(const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::string path = ArchivePath().string();
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) return false;
    bool written = true;
    for (const auto& [name, text] : entries) {
        zip_fileinfo info{};
        written = written &&
                  zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1) ==
                      ZIP_OK &&
                  zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())) == ZIP_OK &&
                  zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && written;
}

std::vector<std::pair<std::string, std::string>> ReadEntries(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    std::vector<std::pair<std::string, std::string>> entries;
    uint8_t count = 0;
    input.Byte(count);
    for (size_t i = 0; i < count && i < kMaxEntries; ++i) {
        std::string name, text;
        uint32_t length = 0;
        if (!input.ShortText(name) || !input.Size(length)) break;
        input.Bytes(std::min(length, kMaxEntrySize), text);
        // A name holding a NUL byte cannot be stored; it is cut there.
        entries.emplace_back(name.substr(0, name.find('\0')), std::move(text));
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        std::vector<std::pair<std::string, std::string>> entries = ReadEntries(data, size);
        bool metaGiven = false;
        for (const auto& entry : entries) metaGiven = metaGiven || entry.first == "MetaData";
        if (!metaGiven) entries.insert(entries.begin(), {"MetaData", MetaData(entries)});
        if (WriteArchive(entries)) {
            const std::wstring path = platform::Utf8ToWide(ArchivePath().u8string());
            container::RecordContainer records;
            if (records.OpenContainer(path)) {
                std::string text;
                devicemodel::ExtendedSettingsSet settings;
                records.ReadLanguageTexts(L"DEU", text);
                records.ReadExtendedSettings(settings);
            }
            DisturbanceDataReader* reader = nullptr;
            if (LoadDisturbanceFile(&reader, path.c_str(), "ENG", L"")) {
                std::unique_ptr<DisturbanceDataReader> owned(reader);
                ExerciseReader(*owned);
            }
        }
    } catch (const std::bad_alloc&) {
    }
    std::error_code ignored;
    std::filesystem::remove(ArchivePath(), ignored);
    return 0;
}
