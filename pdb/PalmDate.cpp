#include "PalmDate.h"

namespace {
int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

std::uint16_t PackPalmDate(CalendarTime t) {
    const LocalTimeFields f = ToLocalFields(t);
    const int year = ((f.year - 1904) % 128 + 128) % 128;
    return static_cast<std::uint16_t>(year * 512 + f.month * 32 + f.day);
}

CalendarTime UnpackPalmDate(std::uint16_t packed) {
    const int year = packed / 512 + 1904;
    int month = (packed / 32) & 15;
    int day = packed & 31;
    // Month 0 and 13-15, day 0 and days past the month's end name no day;
    // holding them in range keeps every value on a date of its own year.
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    if (day < 1) day = 1;
    if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
    return FromLocalFields({year, month, day, 0, 0, 0});
}
