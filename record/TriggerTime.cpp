#include "record/TriggerTime.h"

#include <cwchar>

namespace record {
namespace {

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthPart = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthPart + 2) / 5 + 1);
    month = static_cast<int>(monthPart < 10 ? monthPart + 3 : monthPart - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool BreakDownUtc(int64_t seconds, CalendarTime& time) {
    if (seconds < 0 || seconds > kLastRepresentableSecond) return false;
    const int64_t days = seconds / 86400;
    const int64_t rest = seconds % 86400;
    CivilFromDays(days, time.year, time.month, time.day);
    time.hour = static_cast<int>(rest / 3600);
    time.minute = static_cast<int>(rest / 60 % 60);
    time.second = static_cast<int>(rest % 60);
    return true;
}

std::wstring FormatTriggerTime(const CalendarTime& time) {
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%04i-%02i-%02i  %02i:%02i:%02i.%03i", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return text;
}

bool NormaliseLocalTime(const CalendarTime& time, std::tm& result) {
    std::tm fields{};
    fields.tm_year = time.year - 1900;
    fields.tm_mon = time.month - 1;
    fields.tm_mday = time.day;
    fields.tm_hour = time.hour;
    fields.tm_min = time.minute;
    fields.tm_sec = time.second;
    fields.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&fields);
    if (seconds < 0 || static_cast<int64_t>(seconds) > kLastRepresentableSecond) return false;
    result = fields;
    return true;
}

}  // namespace record
