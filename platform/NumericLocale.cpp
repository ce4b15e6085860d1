#include "platform/NumericLocale.h"

#include <clocale>

namespace platform {
void SetNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }
}  // namespace platform
