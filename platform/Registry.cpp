#include "platform/Registry.h"

#include <cstring>
#include <memory>
#include <utility>

#include "platform/RegistryFile.h"
#include "platform/TextConversion.h"

namespace platform {

// What a RegistryKey points to. The root reads the file whenever it is
// queried; an opened key keeps the reading it was opened from, and its values
// in it (none for a key that exists only as the root).
struct RegistryKeyData {
    std::wstring path;
    std::shared_ptr<const RegistryHive> hive;
    const RegistryValues* values = nullptr;
    bool root = false;
};

namespace {

using SharedHive = std::shared_ptr<const RegistryHive>;

// The calling thread's snapshot: how many scopes are alive, and the reading
// they share once a key was opened.
struct Snapshot {
    int scopes = 0;
    SharedHive hive;
};
thread_local Snapshot t_snapshot;

SharedHive ReadHive() {
    const std::string path = RegistryFilePath();
    std::string bytes;
    int error = 0;
    if (path.empty() || !ReadRegistryFile(path, bytes, error)) return std::make_shared<const RegistryHive>();
    return std::make_shared<const RegistryHive>(ParseRegistryFile(bytes));
}

SharedHive CurrentHive() {
    if (t_snapshot.scopes == 0) return ReadHive();
    if (!t_snapshot.hive) t_snapshot.hive = ReadHive();
    return t_snapshot.hive;
}

const RegistryValues* FindKey(const RegistryHive& hive, const std::wstring& path) {
    const auto found = hive.keys.find(path);
    return found == hive.keys.end() ? nullptr : &found->second;
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
    static RegistryKeyData root{std::wstring(), nullptr, nullptr, true};
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
        key->hive = CurrentHive();
        key->values = FindKey(*key->hive, key->path);
        if (key->values == nullptr && !key->path.empty()) return kRegistryNotFound;
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
        const SharedHive hive = key->root ? CurrentHive() : key->hive;
        const RegistryValues* values = key->root ? FindKey(*hive, std::wstring()) : key->values;
        if (values == nullptr) return kRegistryNotFound;
        const auto found = values->find(AsciiUpper(name));
        if (found == values->end()) return kRegistryNotFound;
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

RegistrySnapshotScope::RegistrySnapshotScope() { ++t_snapshot.scopes; }

RegistrySnapshotScope::~RegistrySnapshotScope() {
    if (--t_snapshot.scopes == 0) t_snapshot.hive.reset();
}

}  // namespace platform
