// Times and names of a record as the exports write them.
//
// The trigger time is taken as a count of microseconds on the record's own
// clock: the calendar fields the plug-in reports, read as they are, with no
// time zone applied (they already are the local time of the record).
#ifndef CVDR_RECORD_TIME_H
#define CVDR_RECORD_TIME_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

struct CalendarFields {
    int64_t year = 1970;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int microsecond = 0;
};

// Days from 1970-01-01 to the date (proleptic Gregorian); the month is 1..12.
int64_t DaysFromCivil(int64_t year, int month, int day);

// The calendar fields of a count of microseconds since 1970-01-01 00:00.
CalendarFields BreakDown(int64_t microseconds);

// Microseconds since 1970-01-01 00:00 of the trigger time; none when the
// plug-in reports no trigger time.
std::optional<int64_t> TriggerMicroseconds(DisturbanceDataReader& reader);

// Microseconds of a time in milliseconds, rounded to the nearest; none when
// not finite or beyond 2^53 microseconds (285 years) either way.
std::optional<int64_t> MillisecondsToMicroseconds(double milliseconds);

// Seconds the record's clock is ahead of UTC (zone plus daylight saving);
// none when the record's time zone is not valid.
std::optional<int> ClockOffsetSeconds(DisturbanceDataReader& reader);

// The device name: the record's description is "<device>   <version>" (three
// blanks); the whole description when it has no three blanks.
std::string DeviceName(std::string_view description);

}  // namespace cvdr

#endif
