#include "platform/ModuleState.h"

namespace platform {

// Nothing to switch: the library has no framework module state.
ModuleStateScope::ModuleStateScope() {}
ModuleStateScope::~ModuleStateScope() {}

// Nothing to show: there is no cursor for a plug-in here.
WaitCursorScope::WaitCursorScope() {}
WaitCursorScope::~WaitCursorScope() {}

}  // namespace platform
