// The text format that the Windows registry editor exports (.reg files), read
// into a hive of keys and values. The Linux stand-in of the registry reads the
// current user's hive from such a file; cvdr's settings editor reads and
// writes it.
#ifndef DR_MVQ4_PLATFORM_REGISTRY_FILE_H
#define DR_MVQ4_PLATFORM_REGISTRY_FILE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace platform {

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
// Only sections under HKEY_CURRENT_USER are kept; a malformed line is
// skipped. Text without a valid header gives an empty hive.
RegistryHive ParseRegistryFile(const std::string& bytes);

// Largest settings file read (64 MiB); a larger one counts as unreadable.
// A file built to be hostile could parse into many times its own size.
constexpr uint64_t kMaxRegistryFileSize = uint64_t{64} << 20;

// Reads the settings file at `path` whole, as the module reads it: a regular
// file of at most kMaxRegistryFileSize bytes (platform/FileAccess.h).
bool ReadRegistryFile(const std::string& path, std::string& bytes, int& error);

// The path of the file that stands in for HKEY_CURRENT_USER: $DR_MVQ4_REGISTRY,
// else ${XDG_CONFIG_HOME:-$HOME/.config}/dr_mvq4/registry.reg; empty without
// a home folder.
std::string RegistryFilePath();

// A backslash-separated key path as the hive keys it: upper-cased, without
// backslashes at either end. False when a name between two backslashes is
// empty.
bool NormalizeKeyPath(std::wstring_view path, std::wstring& out);

}  // namespace platform

#endif
