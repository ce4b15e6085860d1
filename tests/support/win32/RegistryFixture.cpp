#include "support/RegistryFixture.h"

#include <windows.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/RegistryFile.h"

namespace fixture {

// What Write added, to be taken away again: keys it created (with everything
// below them) and values it set in keys that were there before.
struct ScopedRegistry::State {
    std::vector<std::wstring> createdKeys;
    std::vector<std::pair<std::wstring, std::wstring>> setValues;

    void Clear() {
        for (const auto& [key, name] : setValues) RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
        for (auto key = createdKeys.rbegin(); key != createdKeys.rend(); ++key) {
            RegDeleteTreeW(HKEY_CURRENT_USER, key->c_str());
        }
        createdKeys.clear();
        setValues.clear();
    }

    // The hive lists parent keys before their children.
    void Add(const std::wstring& path, const platform::RegistryValues& values) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            &disposition) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot create a registry key for the test");
        }
        if (disposition == REG_CREATED_NEW_KEY) createdKeys.push_back(path);
        for (const auto& [name, value] : values) {
            RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
            if (disposition != REG_CREATED_NEW_KEY) setValues.emplace_back(path, name);
        }
        RegCloseKey(key);
    }
};

ScopedRegistry::ScopedRegistry() : m_state(new State) {}

ScopedRegistry::~ScopedRegistry() { m_state->Clear(); }

void ScopedRegistry::Write(const std::string& regeditText) {
    m_state->Clear();
    for (const auto& [path, values] : platform::ParseRegistryFile(regeditText).keys) m_state->Add(path, values);
}

}  // namespace fixture
