#include "support/Environment.h"

#include <stdlib.h>

namespace fixture {

void SetEnvironment(const char* name, const char* value) {
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace fixture
