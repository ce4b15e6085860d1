// The runtime's 64-bit time functions, whatever size time_t has in this build.
#include "platform/TimeConversion.h"

#include <time.h>

namespace platform {

bool BreakDownUtc(int64_t seconds, std::tm& fields) {
    if (seconds < 0 || seconds > kLastRepresentableSecond) return false;
    const __time64_t time = seconds;
    const std::tm* broken = _gmtime64(&time);  // the runtime's own buffer
    if (broken == nullptr) return false;
    fields = *broken;
    return true;
}

bool NormaliseLocalTime(std::tm& fields) {
    std::tm normalised = fields;
    const __time64_t seconds = _mktime64(&normalised);
    if (seconds < 0 || seconds > kLastRepresentableSecond) return false;
    fields = normalised;
    return true;
}

}  // namespace platform
