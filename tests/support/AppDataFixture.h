// A company folder of the test's own in the computer-wide application-data
// folder (platform/AppDataFolder.h), removed with everything in it when the
// object dies. Linux: the application-data folder is a temporary one as well
// ($DR_MVQ4_COMMON_APPDATA); Windows: it is the system's.
#ifndef DR_MVQ4_TESTS_SUPPORT_APP_DATA_FIXTURE_H
#define DR_MVQ4_TESTS_SUPPORT_APP_DATA_FIXTURE_H

#include <memory>
#include <string>

namespace fixture {

class ScopedCompanyFolder {
public:
    ScopedCompanyFolder();
    ~ScopedCompanyFolder();
    ScopedCompanyFolder(const ScopedCompanyFolder&) = delete;
    ScopedCompanyFolder& operator=(const ScopedCompanyFolder&) = delete;

    // <application data>/<Name()>
    const std::string& Path() const;
    // The company name: the folder's own name, unused by anyone else.
    std::string Name() const { return Path().substr(Path().find_last_of("/\\") + 1); }

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace fixture

#endif
