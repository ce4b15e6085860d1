#include "support/Environment.h"

#include <stdlib.h>

namespace fixture {

void SetEnvironment(const char* name, const char* value) { _putenv_s(name, value != nullptr ? value : ""); }

}  // namespace fixture
