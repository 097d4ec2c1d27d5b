#pragma once
#include <cstdint>

// A calendar time: signed 32-bit seconds since 1970-01-01 00:00 UTC.  Its
// calendar fields are always those of local time.  Dates from 1901-12-14 on
// fit, so every handheld date (1904 to 2031) has one.
using CalendarTime = std::int32_t;

struct LocalTimeFields {
    int year;
    int month;  // 1 to 12
    int day;    // 1 to 31
    int hour;
    int minute;
    int second;
};

// The local calendar fields of t; defined for every t.
LocalTimeFields ToLocalFields(CalendarTime t);

// The calendar time of a local time, daylight saving decided by the system.
// Fields out of range roll over (month 13 is January of the next year, day 0
// the last day of the month before); a result outside the range of a calendar
// time is held at that range's nearest end.
CalendarTime FromLocalFields(const LocalTimeFields& fields);

CalendarTime CurrentCalendarTime();

namespace localtime_detail {
// Seconds from 1970-01-01 00:00 to the given fields, read as a plain
// (zone-less) calendar, rolling over out-of-range fields.
std::int64_t PlainSeconds(const LocalTimeFields& fields);
LocalTimeFields PlainFields(std::int64_t seconds);
CalendarTime ClampToCalendarTime(std::int64_t seconds);
#ifdef _WIN32
// The same conversions, the system asked every time: what the offsets
// remembered per month must always agree with.
LocalTimeFields SystemLocalFields(CalendarTime t);
CalendarTime SystemCalendarTime(const LocalTimeFields& fields);
#endif
}  // namespace localtime_detail
