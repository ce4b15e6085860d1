// The current user's registry hive: open a key below a root, query a value
// into a caller's buffer, close the key. The calls, result codes and value
// types are the system's; key and value names compare without regard to case.
//
// Windows (win32/Registry.cpp): the system's registry, keys opened for
// reading. Elsewhere (Registry.cpp) HKEY_CURRENT_USER is read from a text
// file in the format that the Windows registry editor exports
// (platform/RegistryFile.h), so that settings can be brought over from a
// Windows machine. The file is read anew on every open, unless a
// RegistrySnapshotScope is alive, and an open key holds its values as they
// were when it was opened; a missing or unreadable file (too large, or not a
// regular file) means that no key exists.
#ifndef DR_MVQ4_PLATFORM_REGISTRY_H
#define DR_MVQ4_PLATFORM_REGISTRY_H

#include <cstdint>
#include <string>

namespace platform {

// Result codes (the system's values).
constexpr int32_t kRegistrySuccess = 0;
constexpr int32_t kRegistryNotFound = 2;       // key or value does not exist
constexpr int32_t kRegistryInvalidHandle = 6;
constexpr int32_t kRegistryMoreData = 234;     // buffer too small; size holds the need

// Value types (the system's values).
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

// An open key (the system's key handle on Windows).
struct RegistryKeyData;
using RegistryKey = RegistryKeyData*;

// The root key HKEY_CURRENT_USER. Never closed.
RegistryKey CurrentUserKey();

// Opens parent\subKey; on success stores a new handle in *result, otherwise
// leaves *result unchanged. Backslashes at either end of `subKey` are
// ignored; an empty `subKey` opens the parent anew.
int32_t OpenRegistryKey(RegistryKey parent, const std::wstring& subKey, RegistryKey* result);

// Queries a value. `type` and `size` may be null. With data null only the
// type and size are reported. When *size is smaller than the value,
// returns kRegistryMoreData and sets *size to the value's byte size; without
// a size only an empty value fits. A value that does not exist leaves
// `type` and `size` unchanged.
int32_t QueryRegistryValue(RegistryKey key, const std::wstring& name, uint32_t* type, uint8_t* data,
                           uint32_t* size);

// Closes a key opened by OpenRegistryKey; closing the root does nothing.
int32_t CloseRegistryKey(RegistryKey key);

// While an object lives, the keys that the calling thread opens and queries
// see one reading of the file: it is read and parsed at the first open and
// shared until the outermost scope ends. A load holds one, so that a large
// settings file is read at most once per load. Windows: does nothing, the
// system keeps the registry.
class RegistrySnapshotScope {
public:
    RegistrySnapshotScope();
    ~RegistrySnapshotScope();
    RegistrySnapshotScope(const RegistrySnapshotScope&) = delete;
    RegistrySnapshotScope& operator=(const RegistrySnapshotScope&) = delete;
};

}  // namespace platform

#endif
