#include "platform/ModuleState.h"

#include <windows.h>

namespace platform {

// Nothing to switch: the module keeps no framework state.
ModuleStateScope::ModuleStateScope() {}
ModuleStateScope::~ModuleStateScope() {}

WaitCursorScope::WaitCursorScope() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

WaitCursorScope::~WaitCursorScope() { SetCursor(static_cast<HCURSOR>(m_previous)); }

}  // namespace platform
