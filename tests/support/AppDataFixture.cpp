#include "support/AppDataFixture.h"

#include "support/RecordFixture.h"

namespace fixture {

struct ScopedCompanyFolder::State {
    TempDir appData;
    ScopedEnv variable{"DR_MVQ4_COMMON_APPDATA", appData.Path().c_str()};
    TempDir company{appData.Path()};
};

ScopedCompanyFolder::ScopedCompanyFolder() : m_state(new State) {}

ScopedCompanyFolder::~ScopedCompanyFolder() = default;

const std::string& ScopedCompanyFolder::Path() const { return m_state->company.Path(); }

}  // namespace fixture
