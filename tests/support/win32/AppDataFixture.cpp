#include "support/AppDataFixture.h"

#include "platform/AppDataFolder.h"
#include "support/RecordFixture.h"

namespace fixture {

struct ScopedCompanyFolder::State {
    TempDir company{platform::CommonAppDataFolder()};
};

ScopedCompanyFolder::ScopedCompanyFolder() : m_state(new State) {}

ScopedCompanyFolder::~ScopedCompanyFolder() = default;

const std::string& ScopedCompanyFolder::Path() const { return m_state->company.Path(); }

}  // namespace fixture
