#include "platform/NumericLocale.h"

#include <locale.h>

namespace platform {
void SetNumericLocale() { _wsetlocale(LC_NUMERIC, L"English"); }
}  // namespace platform
