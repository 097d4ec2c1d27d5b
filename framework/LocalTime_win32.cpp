#include "LocalTime.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>

// The C runtime's localtime/mktime reject times before 1970 on Windows; the
// time-zone functions work for any year, so they decide every offset here.
//
// Each conversion through them costs more than the rest of a record's export
// or import, and a database converts two or three dates per record.  So the
// offsets the system gives are remembered per month of UTC time: a month's
// offset is asked at its first and last second, and where the two differ the
// moment of the change is searched out, again from the system.  That holds
// because a zone's summer time begins and ends in two fixed months of the
// year; where those months lie too close together to rule out two changes in
// one month, or the system cannot tell, every conversion asks the system.

namespace {
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr int kFirstYear = 1901;  // of a calendar time
constexpr int kLastYear = 2038;
constexpr int kMonths = (kLastYear - kFirstYear + 1) * 12;

// Asking the system for its time zone costs more than all the rest of a
// conversion (under Wine a look at the host's zone files each time).  The
// zone is therefore asked at most once per kZoneLifeMs; a change of zone is
// seen within that time and forgets every offset remembered.
constexpr DWORD kZoneLifeMs = 1000;

// The offsets of one month of UTC time: before its change (if any) and from
// it on.
struct MonthOffsets {
    enum class State : unsigned char { Unknown, Known, AskEachTime } state = State::Unknown;
    std::int32_t before = 0;
    std::int32_t after = 0;
    std::int64_t changeAt = 0;  // the first second of the offset after; past the month when none
};

// Times are converted on the program's one thread.
struct ZoneState {
    TIME_ZONE_INFORMATION zone{};
    bool known = false;
    bool read = false;
    DWORD readAt = 0;
    bool monthsCanBeRemembered = false;
    std::array<MonthOffsets, kMonths> months{};
    // The last local time worked out: a date is mostly converted back soon
    // after (read, then packed; unpacked, then spelled).
    bool lastKnown = false;
    CalendarTime lastTime = 0;
    LocalTimeFields lastFields{};
};

ZoneState& State() {
    static ZoneState state;
    return state;
}

// Summer time's first and last months at least two months apart, so that no
// month of UTC time holds both of its changes; true too for a zone without.
bool ChangesAtMostOncePerMonth(const TIME_ZONE_INFORMATION& zone) {
    if (zone.DaylightDate.wMonth == 0 || zone.StandardDate.wMonth == 0) return true;
    const int apart = std::abs(zone.DaylightDate.wMonth - zone.StandardDate.wMonth) % 12;
    return apart >= 2 && apart <= 10;
}

// nullptr when the system cannot tell: the conversions then ask it themselves.
const TIME_ZONE_INFORMATION* CurrentZone() {
    ZoneState& state = State();
    const DWORD now = GetTickCount();
    if (!state.read || now - state.readAt >= kZoneLifeMs) {
        TIME_ZONE_INFORMATION zone{};
        const bool known = GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
        if (!state.read || known != state.known || std::memcmp(&zone, &state.zone, sizeof zone) != 0) {
            state.zone = zone;
            state.known = known;
            state.monthsCanBeRemembered = known && ChangesAtMostOncePerMonth(zone);
            state.months.fill(MonthOffsets{});
            state.lastKnown = false;
        }
        state.readAt = now;
        state.read = true;
    }
    return state.known ? &state.zone : nullptr;
}

SYSTEMTIME ToSystemTime(const LocalTimeFields& f) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    return st;
}

LocalTimeFields ToFields(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// The system's local time of UTC seconds since 1970.
bool SystemLocal(std::int64_t seconds, LocalTimeFields& local) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>((seconds + kSecondsFrom1601To1970) * 10000000LL);
    FILETIME ft = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc, st;
    if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(CurrentZone(), &utc, &st)) return false;
    local = ToFields(st);
    return true;
}

std::optional<std::int32_t> SystemOffset(std::int64_t seconds) {
    LocalTimeFields local;
    if (!SystemLocal(seconds, local)) return std::nullopt;
    return static_cast<std::int32_t>(localtime_detail::PlainSeconds(local) - seconds);
}

// The first second of each month of UTC time, and of the month after the last.
const std::array<std::int64_t, kMonths + 1>& MonthStarts() {
    static const std::array<std::int64_t, kMonths + 1> starts = [] {
        std::array<std::int64_t, kMonths + 1> firsts{};
        for (int i = 0; i <= kMonths; ++i)
            firsts[static_cast<std::size_t>(i)] = localtime_detail::PlainSeconds({kFirstYear + i / 12, i % 12 + 1, 1, 0, 0, 0});
        return firsts;
    }();
    return starts;
}

// The month of UTC time that seconds fall in; -1 outside the months kept.
int MonthIndex(std::int64_t seconds) {
    constexpr std::int64_t kMeanMonth = 2629746;  // seconds, over 400 Gregorian years
    const std::array<std::int64_t, kMonths + 1>& starts = MonthStarts();
    if (seconds < starts.front() || seconds >= starts.back()) return -1;
    std::size_t index = std::min(static_cast<std::size_t>((seconds - starts.front()) / kMeanMonth), std::size_t{kMonths - 1});
    while (starts[index] > seconds) --index;
    while (starts[index + 1] <= seconds) ++index;
    return static_cast<int>(index);
}

MonthOffsets AskMonth(int index) {
    MonthOffsets month;
    month.state = MonthOffsets::State::AskEachTime;
    const std::int64_t first = MonthStarts()[static_cast<std::size_t>(index)];
    const std::int64_t last = MonthStarts()[static_cast<std::size_t>(index) + 1] - 1;
    const std::optional<std::int32_t> before = SystemOffset(first);
    const std::optional<std::int32_t> after = SystemOffset(last);
    if (!before || !after) return month;
    // The change lies after low and at or before high.
    std::int64_t low = first, high = last + 1;
    if (*before != *after) {
        high = last;
        while (high - low > 1) {
            const std::int64_t middle = low + (high - low) / 2;
            const std::optional<std::int32_t> offset = SystemOffset(middle);
            if (!offset || (*offset != *before && *offset != *after)) return month;
            (*offset == *before ? low : high) = middle;
        }
    }
    month.state = MonthOffsets::State::Known;
    month.before = *before;
    month.after = *after;
    month.changeAt = high;
    return month;
}

// The offset from UTC to local time at UTC seconds, with the span around it
// over which it holds for certain; nullopt when the system must be asked.
struct OffsetSpan {
    std::int32_t offset;
    std::int64_t from;  // first second
    std::int64_t to;    // last second
};

// Of the zone as CurrentZone last read it.
std::optional<OffsetSpan> RememberedOffset(std::int64_t seconds) {
    ZoneState& state = State();
    if (!state.monthsCanBeRemembered) return std::nullopt;
    const int index = MonthIndex(seconds);
    if (index < 0) return std::nullopt;
    MonthOffsets& month = state.months[static_cast<std::size_t>(index)];
    if (month.state == MonthOffsets::State::Unknown) month = AskMonth(index);
    if (month.state != MonthOffsets::State::Known) return std::nullopt;
    const std::array<std::int64_t, kMonths + 1>& starts = MonthStarts();
    const std::int64_t first = starts[static_cast<std::size_t>(index)];
    const std::int64_t last = starts[static_cast<std::size_t>(index) + 1] - 1;
    if (seconds < month.changeAt) return OffsetSpan{month.before, first, month.changeAt - 1};
    return OffsetSpan{month.after, month.changeAt, last};
}

void RememberLocal(CalendarTime t, const LocalTimeFields& fields) {
    ZoneState& state = State();
    state.lastKnown = true;
    state.lastTime = t;
    state.lastFields = fields;
}

// Fields a plain calendar gives back unchanged: no field out of its range.
bool InRange(const LocalTimeFields& f) {
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > kDays[f.month - 1]) return false;
    if (f.month == 2 && f.day == 29 && !(f.year % 4 == 0 && (f.year % 100 != 0 || f.year % 400 == 0))) return false;
    return f.hour >= 0 && f.hour < 24 && f.minute >= 0 && f.minute < 60 && f.second >= 0 && f.second < 60;
}

// The largest step of the zone's clocks, in seconds, and never less than two
// hours, the largest any zone has taken.
std::int64_t LargestClockStep(const TIME_ZONE_INFORMATION* zone) {
    constexpr std::int64_t kTwoHours = 7200;
    const std::int64_t step = zone ? std::abs(static_cast<std::int64_t>(zone->DaylightBias) - zone->StandardBias) * 60 : 0;
    return step > kTwoHours ? step : kTwoHours;
}
}  // namespace

LocalTimeFields ToLocalFields(CalendarTime t) {
    CurrentZone();
    const ZoneState& state = State();
    if (state.lastKnown && state.lastTime == t) return state.lastFields;
    const std::optional<OffsetSpan> span = RememberedOffset(t);
    if (!span) return localtime_detail::SystemLocalFields(t);
    const LocalTimeFields local = localtime_detail::PlainFields(static_cast<std::int64_t>(t) + span->offset);
    RememberLocal(t, local);
    return local;
}

CalendarTime FromLocalFields(const LocalTimeFields& fields) {
    const TIME_ZONE_INFORMATION* zone = CurrentZone();
    const std::int64_t plain = localtime_detail::PlainSeconds(fields);
    // A local time names exactly one moment when the offset that moment has
    // holds for a whole clock step either side of it: no skip and no
    // repeated hour comes near.
    if (plain >= INT32_MIN && plain <= INT32_MAX) {
        if (const std::optional<OffsetSpan> guess = RememberedOffset(plain)) {
            const std::int64_t t = plain - guess->offset;
            // Mostly in the span of its local time's guess, which then holds.
            const std::optional<OffsetSpan> span = t >= guess->from && t <= guess->to ? guess : RememberedOffset(t);
            const std::int64_t step = LargestClockStep(zone);
            if (span && span->offset == guess->offset && t - step >= span->from && t + step <= span->to &&
                t >= INT32_MIN && t <= INT32_MAX) {
                // The local time of t is the one asked, rolled over.
                if (InRange(fields)) RememberLocal(static_cast<CalendarTime>(t), fields);
                return static_cast<CalendarTime>(t);
            }
        }
    }
    return localtime_detail::SystemCalendarTime(fields);
}

LocalTimeFields localtime_detail::SystemLocalFields(CalendarTime t) {
    LocalTimeFields local;
    if (SystemLocal(t, local)) return local;
    return localtime_detail::PlainFields(t);
}

CalendarTime localtime_detail::SystemCalendarTime(const LocalTimeFields& fields) {
    const std::int64_t plain = localtime_detail::PlainSeconds(fields);
    // Outside the years SYSTEMTIME holds the zone offset hardly matters: clamp.
    if (plain < -kSecondsFrom1601To1970 + 86400 || plain > 0x7FFFFFFFLL + 86400)
        return localtime_detail::ClampToCalendarTime(plain);
    SYSTEMTIME local = ToSystemTime(localtime_detail::PlainFields(plain));
    SYSTEMTIME utc;
    if (!TzSpecificLocalTimeToSystemTime(CurrentZone(), &local, &utc)) return localtime_detail::ClampToCalendarTime(plain);
    const CalendarTime t = localtime_detail::ClampToCalendarTime(localtime_detail::PlainSeconds(ToFields(utc)));
    // A local time the clocks skip (midnight, where summer time begins at
    // midnight) comes back as the hour before the skip, on the day before.
    // Like mktime, take the first moment after the skip instead, so that
    // every day keeps a local midnight of its own.
    const std::int64_t shownAs = localtime_detail::PlainSeconds(SystemLocalFields(t));
    if (shownAs >= plain) return t;
    return localtime_detail::ClampToCalendarTime(static_cast<std::int64_t>(t) + (plain - shownAs));
}

CalendarTime CurrentCalendarTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER ticks;
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    return localtime_detail::ClampToCalendarTime(static_cast<std::int64_t>(ticks.QuadPart / 10000000ULL) -
                                                 kSecondsFrom1601To1970);
}
