// The trigger time's calendar: seconds since 1970-01-01 UTC broken into
// calendar fields, the trigger-time text, and the normalisation of the fields
// as local time, on the runtime's conversions (platform/TimeConversion.h).
#ifndef DR_MVQ4_RECORD_TRIGGER_TIME_H
#define DR_MVQ4_RECORD_TRIGGER_TIME_H

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/TimeConversion.h"

namespace record {

struct CalendarTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Latest second the breakdown represents: 3000-12-31 23:59:59 UTC.
constexpr int64_t kLastRepresentableSecond = platform::kLastRepresentableSecond;

// UTC breakdown of `seconds` since the epoch; false before 1970 or after the
// year 3000, leaving `time` unchanged.
bool BreakDownUtc(int64_t seconds, CalendarTime& time);

// "YYYY-MM-DD  hh:mm:ss.mmm" (two blanks between date and time).
std::wstring FormatTriggerTime(const CalendarTime& time);

// The fields as the C library's calendar structure, normalised as local
// time (weekday, day of year, daylight flag). False when the local time
// lies outside 1970 to 3000, leaving `result` unchanged.
bool NormaliseLocalTime(const CalendarTime& time, std::tm& result);

}  // namespace record

#endif
