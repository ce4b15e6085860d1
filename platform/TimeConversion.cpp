#include "platform/TimeConversion.h"

namespace platform {

static_assert(sizeof(std::time_t) >= 8, "the calendar range needs a 64-bit time_t");

bool BreakDownUtc(int64_t seconds, std::tm& fields) {
    if (seconds < 0 || seconds > kLastRepresentableSecond) return false;
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm broken{};
    if (gmtime_r(&time, &broken) == nullptr) return false;
    fields = broken;
    return true;
}

bool NormaliseLocalTime(std::tm& fields) {
    std::tm normalised = fields;
    const std::time_t seconds = std::mktime(&normalised);
    if (seconds < 0 || static_cast<int64_t>(seconds) > kLastRepresentableSecond) return false;
    fields = normalised;
    return true;
}

}  // namespace platform
