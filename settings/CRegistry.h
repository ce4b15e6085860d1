// Thin wrapper over one open registry key: open, read a string value, close.
// One object per settings read; the destructor closes an open key.
#ifndef DR_MVQ4_SETTINGS_CREGISTRY_H
#define DR_MVQ4_SETTINGS_CREGISTRY_H

#include <cstdint>
#include <string>

#include "platform/Registry.h"

class CRegistry {
public:
    explicit CRegistry(platform::RegistryKey root);
    virtual ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Whether parent\path exists; leaves it open as the current key.
    bool KeyExists(platform::RegistryKey parent, const std::wstring& path);
    // Opens parent\path as the current key, remembering the path.
    bool Open(platform::RegistryKey parent, const std::wstring& path);
    // Reads a value into a 200-byte buffer and takes it as terminated UTF-16
    // text, whatever its type. False when missing or larger than the buffer;
    // `text` is then unchanged.
    bool Read(const std::wstring& valueName, std::wstring& text);
    void Close();

private:
    bool OpenKey(platform::RegistryKey parent, const std::wstring& path);

    int32_t m_lastResult = platform::kRegistrySuccess;
    uint32_t m_valueType = 0;
    uint32_t m_dataSize = 0;
    platform::RegistryKey m_key;
    std::wstring m_path;
};

#endif
