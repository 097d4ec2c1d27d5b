#include "LocalTime.h"

#include <ctime>

LocalTimeFields ToLocalFields(CalendarTime t) {
    std::time_t value = t;
    std::tm tm = {};
    if (localtime_r(&value, &tm) == nullptr) return localtime_detail::PlainFields(t);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

CalendarTime FromLocalFields(const LocalTimeFields& fields) {
    const std::int64_t plain = localtime_detail::PlainSeconds(fields);
    const LocalTimeFields f = localtime_detail::PlainFields(plain);
    std::tm tm = {};
    tm.tm_year = f.year - 1900;
    tm.tm_mon = f.month - 1;
    tm.tm_mday = f.day;
    tm.tm_hour = f.hour;
    tm.tm_min = f.minute;
    tm.tm_sec = f.second;
    tm.tm_isdst = -1;
    std::time_t result = std::mktime(&tm);
    if (result == static_cast<std::time_t>(-1) && !(f.year == 1969 || f.year == 1970))
        return localtime_detail::ClampToCalendarTime(plain);
    return localtime_detail::ClampToCalendarTime(result);
}

CalendarTime CurrentCalendarTime() { return localtime_detail::ClampToCalendarTime(std::time(nullptr)); }
