// The C runtime's calendar conversions on 64-bit times: seconds since
// 1970-01-01 00:00:00 UTC broken down as UTC, and calendar fields normalised
// as local time. Both cover the range of the runtime's 64-bit time functions,
// 1970 to the end of the year 3000; the local time follows the process's
// time-zone rules (the TZ variable where set).
#ifndef DR_MVQ4_PLATFORM_TIME_CONVERSION_H
#define DR_MVQ4_PLATFORM_TIME_CONVERSION_H

#include <cstdint>
#include <ctime>

namespace platform {

// Latest second represented: 3000-12-31 23:59:59 UTC.
constexpr int64_t kLastRepresentableSecond = 32535215999;

// The UTC calendar fields of `seconds` (every field of std::tm, tm_isdst 0).
// False before 1970 or after kLastRepresentableSecond, leaving `fields`
// unchanged.
bool BreakDownUtc(int64_t seconds, std::tm& fields);

// Normalises `fields` as local time, as mktime does: fields out of range carry
// over, weekday, day of year and daylight flag are filled in (tm_isdst -1 lets
// the time-zone rules decide). False when the time lies outside 1970 to
// kLastRepresentableSecond, leaving `fields` unchanged.
bool NormaliseLocalTime(std::tm& fields);

}  // namespace platform

#endif
