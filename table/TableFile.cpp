#include "TableFile.h"

int CTableFile::ReadLong(std::int32_t& value) {
    // The value goes back also when the read failed: whatever ReadInt left in
    // its out parameter is what the caller gets.
    int temporary = value;
    const int result = ReadInt(temporary);
    value = temporary;
    return result;
}

int CTableFile::GetRow() { return m_row; }

int CTableFile::WindowedLocalMidnight(int year, int month, int day, int lowestYear, CalendarTime& out) {
    constexpr int kFirstWindowYear = 1970;
    constexpr int kLastYear = 2031;
    if (year < 100) year += 1900;
    if (year < kFirstWindowYear) year += 100;
    if (year > kLastYear || year < lowestYear) return -1;
    const LocalTimeFields midnight{year, month, day, 0, 0, 0};
    const CalendarTime t = FromLocalFields(midnight);
    const LocalTimeFields back = ToLocalFields(t);
    if (back.year != midnight.year || back.month != midnight.month || back.day != midnight.day) return -1;
    out = t;
    return 0;
}

CalendarTime CTableFile::TodayAt(int hour, int minute) {
    LocalTimeFields today = ToLocalFields(CurrentCalendarTime());
    today.hour = hour;
    today.minute = minute;
    today.second = 0;
    return FromLocalFields(today);
}
