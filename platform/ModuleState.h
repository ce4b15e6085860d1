// The framework's per-call scopes: the module-state switch of an exported call
// and the application's wait cursor, each entered on construction and left on
// every exit path by the destructor.
//
// There is no framework state to switch in this module, so ModuleStateScope
// does nothing on any system. WaitCursorScope shows the system's wait cursor
// on Windows (win32/ModuleState.cpp) and puts the cursor it replaced back
// when it ends; here, with no cursor for a plug-in, it does nothing.
#ifndef DR_MVQ4_PLATFORM_MODULE_STATE_H
#define DR_MVQ4_PLATFORM_MODULE_STATE_H

namespace platform {

class ModuleStateScope {
public:
    ModuleStateScope();
    ~ModuleStateScope();
    ModuleStateScope(const ModuleStateScope&) = delete;
    ModuleStateScope& operator=(const ModuleStateScope&) = delete;
};

class WaitCursorScope {
public:
    WaitCursorScope();
    ~WaitCursorScope();
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    [[maybe_unused]] void* m_previous = nullptr;  // the system's handle of the cursor to put back
};

}  // namespace platform

#endif
