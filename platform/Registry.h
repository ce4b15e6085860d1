// Stand-in for the current user's registry hive.
//
// HKEY_CURRENT_USER is read from a text file in the format that the Windows
// registry editor exports, so that settings can be brought over from a
// Windows machine: the file named by $DR_MVQ4_REGISTRY, else
// ${XDG_CONFIG_HOME:-$HOME/.config}/dr_mvq4/registry.reg.
//
// The calls mirror the system's registry calls: open a key below a root,
// query a value into a caller's buffer, close the key. The file is read anew
// on every open (the module never caches settings). A missing or unreadable
// file means that no key exists; a malformed line in it is skipped.
// Key and value names compare without regard to ASCII case, as on Windows.
#ifndef DR_MVQ4_PLATFORM_REGISTRY_H
#define DR_MVQ4_PLATFORM_REGISTRY_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// A value as stored: its type and raw bytes. Strings are UTF-16LE with a
// terminating NUL unit, a dword is 4 little-endian bytes, hex(N) keeps N.
struct RegistryValue {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

// Values of one key, by name upper-cased (ASCII); "" is the default value "@".
using RegistryValues = std::map<std::wstring, RegistryValue>;

// The parsed file: key path below HKEY_CURRENT_USER (upper-cased ASCII,
// backslash-separated, no leading or trailing backslash) to its values.
// A section's parent keys exist as well, with no values of their own.
struct RegistryHive {
    std::map<std::wstring, RegistryValues> keys;
};

// Parses the text of a regedit export (UTF-16LE with BOM, or UTF-8 with or
// without BOM; header "Windows Registry Editor Version 5.00" or "REGEDIT4").
// Only sections under HKEY_CURRENT_USER are kept. Text without a valid
// header gives an empty hive.
RegistryHive ParseRegistryFile(const std::string& bytes);

// The path of the file that stands in for HKEY_CURRENT_USER.
std::string RegistryFilePath();

// An open key: a copy of the key's values, taken when it was opened.
struct RegistryKeyData;
using RegistryKey = RegistryKeyData*;

// The root key HKEY_CURRENT_USER. Never closed.
RegistryKey CurrentUserKey();

// Opens parent\subKey; on success stores a new handle in *result.
int32_t OpenRegistryKey(RegistryKey parent, const std::wstring& subKey, RegistryKey* result);

// Queries a value. `type` and `size` may be null. With data null only the
// type and size are reported. When *size is smaller than the value,
// returns kRegistryMoreData and sets *size to the value's byte size.
int32_t QueryRegistryValue(RegistryKey key, const std::wstring& name, uint32_t* type, uint8_t* data,
                           uint32_t* size);

// Closes a key opened by OpenRegistryKey; closing the root does nothing.
int32_t CloseRegistryKey(RegistryKey key);

}  // namespace platform

#endif
