// Sets the process's numeric locale category so that decimal points read and
// write as ".": "English" through the runtime's _wsetlocale on Windows, "C"
// here. The module's own number parsing does not depend on it; it is set for
// anything else in the process that formats numbers during a load, and it is
// not restored afterwards.
#ifndef DR_MVQ4_PLATFORM_NUMERIC_LOCALE_H
#define DR_MVQ4_PLATFORM_NUMERIC_LOCALE_H

namespace platform {
void SetNumericLocale();
}

#endif
