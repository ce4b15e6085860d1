#include "host/TimeAxis.h"

#include <algorithm>
#include <cmath>

namespace host {

bool HasTimeAxis(const Record& record) {
    return record.sampleCount > 0 && record.sampleTimes.size() == record.sampleCount &&
           record.sampleInterval > 0.0 && std::isfinite(record.sampleInterval);
}

std::optional<TimeWindow> SelectWindow(const Record& record, std::optional<double> from,
                                       std::optional<double> to) {
    const double interval = record.sampleInterval;
    const double start = record.sampleTimes.front();
    const double end = record.sampleTimes.back();
    TimeWindow window;
    window.from = std::max(from.value_or(start), start);
    window.to = std::min(to.value_or(end), end);
    const double first = std::ceil((window.from - start) / interval - 1e-9);
    const double last = std::floor((window.to - start) / interval + 1e-9);
    if (!(first <= last)) return std::nullopt;
    window.firstSample = static_cast<uint32_t>(first);
    window.lastSample = static_cast<uint32_t>(last);
    if (window.to <= window.from) window.to = window.from + interval;  // a single sample
    return window;
}

// Day counting after H. Hinnant's civil-calendar algorithms: years start on
// 1 March so that the leap day ends a year, in 400-year eras of 146097 days.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

namespace {

int64_t FloorDivide(int64_t value, int64_t divisor) {
    const int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

void SetDate(CalendarFields& fields, int64_t days) {
    days += 719468;
    const int64_t era = FloorDivide(days, 146097);
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    fields.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    fields.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    fields.year = yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0);
}

}  // namespace

CalendarFields BreakDown(int64_t microseconds) {
    constexpr int64_t kPerDay = int64_t{86400} * 1000000;
    const int64_t days = FloorDivide(microseconds, kPerDay);
    int64_t rest = microseconds - days * kPerDay;
    CalendarFields fields;
    SetDate(fields, days);
    fields.microsecond = static_cast<int>(rest % 1000000);
    rest /= 1000000;
    fields.second = static_cast<int>(rest % 60);
    fields.minute = static_cast<int>(rest / 60 % 60);
    fields.hour = static_cast<int>(rest / 3600);
    return fields;
}

std::optional<int64_t> MillisecondsToMicroseconds(double milliseconds) {
    const double microseconds = std::round(milliseconds * 1000.0);
    if (!(std::fabs(microseconds) <= 9007199254740992.0)) return std::nullopt;  // NaN fails too
    return static_cast<int64_t>(microseconds);
}

std::optional<int64_t> TriggerMicroseconds(const Record& record) {
    if (!record.triggerTime.reported) return std::nullopt;
    const tm& time = record.triggerTime.fields;
    const std::optional<int64_t> fraction = MillisecondsToMicroseconds(record.triggerTime.milliseconds);
    if (!fraction) return std::nullopt;
    const int64_t days = DaysFromCivil(int64_t{time.tm_year} + 1900, time.tm_mon + 1, 1) + time.tm_mday - 1;
    const int64_t seconds = days * 86400 + int64_t{time.tm_hour} * 3600 + time.tm_min * 60 + time.tm_sec;
    return seconds * 1000000 + *fraction;
}

std::optional<int> ClockOffsetSeconds(const Record& record) {
    if (!record.timeZone.valid) return std::nullopt;
    return record.timeZone.offset + record.timeZone.dstOffset;
}

}  // namespace host
