// Environment variables of the test process, set the system's way.
#ifndef DR_MVQ4_TESTS_SUPPORT_ENVIRONMENT_H
#define DR_MVQ4_TESTS_SUPPORT_ENVIRONMENT_H

namespace fixture {

// Sets `name` to `value`; null removes it. Windows keeps no empty variables:
// there an empty value removes it as well.
void SetEnvironment(const char* name, const char* value);

}  // namespace fixture

#endif
