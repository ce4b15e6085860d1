#include "record/TriggerTime.h"

#include <cwchar>

namespace record {

bool BreakDownUtc(int64_t seconds, CalendarTime& time) {
    std::tm fields{};
    if (!platform::BreakDownUtc(seconds, fields)) return false;
    time.year = fields.tm_year + 1900;
    time.month = fields.tm_mon + 1;
    time.day = fields.tm_mday;
    time.hour = fields.tm_hour;
    time.minute = fields.tm_min;
    time.second = fields.tm_sec;
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
    if (!platform::NormaliseLocalTime(fields)) return false;
    result = fields;
    return true;
}

}  // namespace record
