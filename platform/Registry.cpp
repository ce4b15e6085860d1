#include "platform/Registry.h"

#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/RegistryFile.h"
#include "platform/TextConversion.h"

namespace platform {

// What a RegistryKey points to. The root reads the file whenever it is
// queried; an opened key holds the values its key had when it was opened.
struct RegistryKeyData {
    std::wstring path;
    RegistryValues values;
    bool root = false;
};

namespace {

// A larger file is treated as unreadable: it is parsed on every open, and a
// file built to be hostile could parse into many times its own size.
constexpr uint64_t kMaxRegistryFileSize = uint64_t{64} << 20;

RegistryHive LoadHive() {
    const std::string path = RegistryFilePath();
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return RegistryHive{};
    if (static_cast<uint64_t>(info.st_size) > kMaxRegistryFileSize) return RegistryHive{};
    std::string bytes;
    int error = 0;
    if (!ReadWholeFile(path, bytes, error) || bytes.size() > kMaxRegistryFileSize) return RegistryHive{};
    return ParseRegistryFile(bytes);
}

std::wstring JoinPath(const std::wstring& parent, const std::wstring& child) {
    if (parent.empty()) return child;
    if (child.empty()) return parent;
    return parent + L'\\' + child;
}

int32_t CopyValue(const RegistryValue& value, uint32_t* type, uint8_t* data, uint32_t* size) {
    const uint32_t needed = static_cast<uint32_t>(value.data.size());
    if (type != nullptr) *type = value.type;
    // Without a size there is no room: only an empty value fits.
    if (data != nullptr && (size == nullptr ? 0 : *size) < needed) {
        if (size != nullptr) *size = needed;
        return kRegistryMoreData;
    }
    if (data != nullptr && needed > 0) std::memcpy(data, value.data.data(), needed);
    if (size != nullptr) *size = needed;
    return kRegistrySuccess;
}

}  // namespace

RegistryKey CurrentUserKey() {
    static RegistryKeyData root{std::wstring(), RegistryValues(), true};
    return &root;
}

// HKEY_CURRENT_USER itself always exists, as on Windows, even without a file.
int32_t OpenRegistryKey(RegistryKey parent, const std::wstring& subKey, RegistryKey* result) {
    if (parent == nullptr || result == nullptr) return kRegistryInvalidHandle;
    try {
        std::wstring relative;
        if (!NormalizeKeyPath(subKey, relative)) return kRegistryNotFound;
        auto key = std::make_unique<RegistryKeyData>();
        key->path = JoinPath(parent->path, relative);
        RegistryHive hive = LoadHive();
        const auto found = hive.keys.find(key->path);
        if (found != hive.keys.end()) {
            key->values = std::move(found->second);
        } else if (!key->path.empty()) {
            return kRegistryNotFound;
        }
        *result = key.release();
        return kRegistrySuccess;
    } catch (...) {  // out of memory
        return kRegistryNotFound;
    }
}

int32_t QueryRegistryValue(RegistryKey key, const std::wstring& name, uint32_t* type, uint8_t* data,
                           uint32_t* size) {
    if (key == nullptr) return kRegistryInvalidHandle;
    try {
        RegistryValues rootValues;
        if (key->root) rootValues = std::move(LoadHive().keys[std::wstring()]);
        const RegistryValues& values = key->root ? rootValues : key->values;
        const auto found = values.find(AsciiUpper(name));
        if (found == values.end()) return kRegistryNotFound;
        return CopyValue(found->second, type, data, size);
    } catch (...) {  // out of memory
        return kRegistryNotFound;
    }
}

int32_t CloseRegistryKey(RegistryKey key) {
    if (key == nullptr) return kRegistryInvalidHandle;
    if (!key->root) delete key;
    return kRegistrySuccess;
}

}  // namespace platform
