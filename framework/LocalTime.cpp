#include "LocalTime.h"

#include <limits>

namespace localtime_detail {

namespace {
// Days since 1970-01-01 of a proleptic Gregorian date (month 1 to 12).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The first day of each month of the years a calendar time reaches, worked
// out while compiling: every date of a log is converted, and a look-up costs
// a fraction of the arithmetic.
constexpr int kTableFirstYear = 1901;
constexpr int kTableLastYear = 2038;
struct MonthFirstDays {
    std::int32_t days[(kTableLastYear - kTableFirstYear + 1) * 12];
};
constexpr MonthFirstDays MakeMonthFirstDays() {
    MonthFirstDays table{};
    for (int i = 0; i < (kTableLastYear - kTableFirstYear + 1) * 12; ++i)
        table.days[i] = static_cast<std::int32_t>(DaysFromCivil(kTableFirstYear + i / 12, i % 12 + 1, 1));
    return table;
}
constexpr MonthFirstDays kMonthFirstDays = MakeMonthFirstDays();

// Days since 1970-01-01 of the first of month (any number) of year.
std::int64_t MonthFirstDay(int year, int month) {
    if (year >= kTableFirstYear && year <= kTableLastYear && month >= 1 && month <= 12)
        return kMonthFirstDays.days[(year - kTableFirstYear) * 12 + month - 1];
    const std::int64_t monthIndex = static_cast<std::int64_t>(month) - 1;
    return DaysFromCivil(year + FloorDiv(monthIndex, 12), static_cast<int>(monthIndex - FloorDiv(monthIndex, 12) * 12) + 1, 1);
}
}  // namespace

std::int64_t PlainSeconds(const LocalTimeFields& f) {
    const std::int64_t days = MonthFirstDay(f.year, f.month) + f.day - 1;
    return days * 86400 + static_cast<std::int64_t>(f.hour) * 3600 + static_cast<std::int64_t>(f.minute) * 60 +
           f.second;
}

LocalTimeFields PlainFields(std::int64_t seconds) {
    const std::int64_t days = FloorDiv(seconds, 86400);
    const std::int64_t secondOfDay = seconds - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yoe + era * 400 + (month <= 2);
    return {static_cast<int>(year), month, day, static_cast<int>(secondOfDay / 3600),
            static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60)};
}

CalendarTime ClampToCalendarTime(std::int64_t seconds) {
    if (seconds < std::numeric_limits<CalendarTime>::min()) return std::numeric_limits<CalendarTime>::min();
    if (seconds > std::numeric_limits<CalendarTime>::max()) return std::numeric_limits<CalendarTime>::max();
    return static_cast<CalendarTime>(seconds);
}

}  // namespace localtime_detail
