// Stand-ins for the framework's per-call scopes: the module-state switch of an
// exported call and the application's wait cursor. There is no framework state
// or cursor here, so both do nothing; they keep the scoping (entered on
// construction, left on every exit path by the destructor) so that a port with
// a framework only fills them in.
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
};

}  // namespace platform

#endif
