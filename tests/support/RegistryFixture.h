// The current user's registry as a test sets it up: Write puts the keys and
// values of a regedit-format text (platform/RegistryFile.h) where the module
// reads them, in place of what the object wrote before, and everything
// written goes when the object dies. Linux: the file the stand-in reads, named
// by $DR_MVQ4_REGISTRY. Windows: keys and values under HKEY_CURRENT_USER.
#ifndef DR_MVQ4_TESTS_SUPPORT_REGISTRY_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_REGISTRY_FIXTURE_H

#include <memory>
#include <string>

namespace fixture {

class ScopedRegistry {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    void Write(const std::string& regeditText);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace fixture

#endif
