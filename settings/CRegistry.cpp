#include "settings/CRegistry.h"

#include "platform/TextConversion.h"

namespace {
constexpr uint32_t kBufferBytes = 200;
}

CRegistry::CRegistry(platform::RegistryKey root) : m_key(root) {}

CRegistry::~CRegistry() { Close(); }

bool CRegistry::OpenKey(platform::RegistryKey parent, const std::wstring& path) {
    Close();
    platform::RegistryKey opened = nullptr;
    m_lastResult = platform::OpenRegistryKey(parent, path, &opened);
    m_valueType = 0;
    m_dataSize = 0;
    if (m_lastResult != platform::kRegistrySuccess) return false;
    m_key = opened;
    return true;
}

bool CRegistry::KeyExists(platform::RegistryKey parent, const std::wstring& path) { return OpenKey(parent, path); }

bool CRegistry::Open(platform::RegistryKey parent, const std::wstring& path) {
    m_path = path;
    return OpenKey(parent, path);
}

bool CRegistry::Read(const std::wstring& valueName, std::wstring& text) {
    uint8_t buffer[kBufferBytes] = {};
    uint32_t size = kBufferBytes;
    uint32_t type = 0;
    m_lastResult = platform::QueryRegistryValue(m_key, valueName, &type, buffer, &size);
    m_valueType = type;
    m_dataSize = size;
    if (m_lastResult != platform::kRegistrySuccess) return false;
    std::wstring value = platform::Utf16LeToWide(buffer, size);
    const size_t terminator = value.find(L'\0');
    if (terminator != std::wstring::npos) value.resize(terminator);
    text.swap(value);
    return true;
}

void CRegistry::Close() {
    if (m_key != nullptr && m_key != platform::CurrentUserKey()) platform::CloseRegistryKey(m_key);
    m_key = nullptr;
}
