// The system's registry. A RegistryKey is the system's key handle; keys are
// opened for reading only, as the module never writes a setting.
#include "platform/Registry.h"

#include <windows.h>

#include <string_view>

namespace platform {
namespace {

HKEY Handle(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

RegistryKey Key(HKEY handle) { return reinterpret_cast<RegistryKey>(handle); }

// The system refuses a sub-key that begins with a backslash; the header
// promises that backslashes at either end are ignored.
std::wstring_view Trimmed(std::wstring_view subKey) {
    while (!subKey.empty() && subKey.front() == L'\\') subKey.remove_prefix(1);
    while (!subKey.empty() && subKey.back() == L'\\') subKey.remove_suffix(1);
    return subKey;
}

}  // namespace

RegistryKey CurrentUserKey() { return Key(HKEY_CURRENT_USER); }

int32_t OpenRegistryKey(RegistryKey parent, const std::wstring& subKey, RegistryKey* result) {
    if (parent == nullptr || result == nullptr) return kRegistryInvalidHandle;
    try {
        const std::wstring path(Trimmed(subKey));
        HKEY opened = nullptr;
        const LSTATUS status = RegOpenKeyExW(Handle(parent), path.c_str(), 0, KEY_READ, &opened);
        if (status == ERROR_SUCCESS) *result = Key(opened);
        return status;
    } catch (...) {  // out of memory
        return kRegistryNotFound;
    }
}

// The system wants a size whenever there is a buffer; without one the size
// is 0, so only an empty value fits.
int32_t QueryRegistryValue(RegistryKey key, const std::wstring& name, uint32_t* type, uint8_t* data,
                           uint32_t* size) {
    if (key == nullptr) return kRegistryInvalidHandle;
    DWORD valueType = REG_NONE;
    DWORD byteSize = size == nullptr ? 0 : *size;
    const LSTATUS status = RegQueryValueExW(Handle(key), name.c_str(), nullptr, &valueType, data, &byteSize);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (type != nullptr) *type = valueType;
        if (size != nullptr) *size = byteSize;
    }
    return status;
}

int32_t CloseRegistryKey(RegistryKey key) {
    if (key == nullptr) return kRegistryInvalidHandle;
    if (key == CurrentUserKey()) return kRegistrySuccess;
    return RegCloseKey(Handle(key));
}

RegistrySnapshotScope::RegistrySnapshotScope() = default;

RegistrySnapshotScope::~RegistrySnapshotScope() = default;

}  // namespace platform
