// Where a record's samples lie in time: the stretch of samples inside a
// window of ms relative to the trigger, and the trigger's time of day.
//
// The trigger time is taken as a count of microseconds on the record's own
// clock: the calendar fields the plug-in reports, read as they are, with no
// time zone applied (they already are the local time of the record).
#ifndef DR_MVQ4_HOST_TIME_AXIS_H
#define DR_MVQ4_HOST_TIME_AXIS_H

#include <cstdint>
#include <optional>

#include "host/Record.h"

namespace host {

// The samples firstSample to lastSample (both included) and the times in
// ms relative to the trigger that frame them.
struct TimeWindow {
    double from = 0.0;
    double to = 0.0;
    uint32_t firstSample = 0;
    uint32_t lastSample = 0;
};

// Whether the record's samples can be placed in time: it has some, at a
// positive and finite interval.
bool HasTimeAxis(const Record& record);

// [from, to] (none: the record's first or last sample) narrowed to the
// record, with the samples inside, found from the first sample's time and
// the interval; a window of one sample is one interval wide. None when no
// sample lies inside. The record must have a time axis.
std::optional<TimeWindow> SelectWindow(const Record& record, std::optional<double> from,
                                       std::optional<double> to);

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
std::optional<int64_t> TriggerMicroseconds(const Record& record);

// Microseconds of a time in milliseconds, rounded to the nearest; none when
// not finite or beyond 2^53 microseconds (285 years) either way.
std::optional<int64_t> MillisecondsToMicroseconds(double milliseconds);

// Seconds the record's clock is ahead of UTC (zone plus daylight saving);
// none when the record's time zone is not valid.
std::optional<int> ClockOffsetSeconds(const Record& record);

}  // namespace host

#endif
