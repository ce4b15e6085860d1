#include "support/RegistryFixture.h"

#include "support/RecordFixture.h"

namespace fixture {

struct ScopedRegistry::State {
    TempDir folder;
    ScopedEnv variable{"DR_MVQ4_REGISTRY", (folder.Path() + "/registry.reg").c_str()};
};

ScopedRegistry::ScopedRegistry() : m_state(new State) {}

ScopedRegistry::~ScopedRegistry() = default;

void ScopedRegistry::Write(const std::string& regeditText) { m_state->folder.Write("registry.reg", regeditText); }

}  // namespace fixture
