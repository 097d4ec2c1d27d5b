#include "LocalTime.h"

#include <windows.h>

// The C runtime's localtime/mktime reject times before 1970 on Windows; the
// time-zone functions work for any year, so they do the conversions here.

namespace {
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

// Asking the system for its time zone costs more than all the rest of a
// conversion (under Wine a look at the host's zone files each time), and an
// export or import converts several dates per record.  The zone is therefore
// asked at most once per kZoneLifeMs and handed to the conversions; a change
// of zone is seen within that time.
constexpr DWORD kZoneLifeMs = 1000;

// nullptr when the system cannot tell: the conversions then ask it themselves.
const TIME_ZONE_INFORMATION* CurrentZone() {
    thread_local TIME_ZONE_INFORMATION zone;
    thread_local bool known = false;
    thread_local DWORD readAt = 0;
    thread_local bool read = false;
    const DWORD now = GetTickCount();
    if (!read || now - readAt >= kZoneLifeMs) {
        known = GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
        readAt = now;
        read = true;
    }
    return known ? &zone : nullptr;
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
}  // namespace

LocalTimeFields ToLocalFields(CalendarTime t) {
    const std::int64_t seconds = t;
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>((seconds + kSecondsFrom1601To1970) * 10000000LL);
    FILETIME ft = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc, local;
    if (FileTimeToSystemTime(&ft, &utc) && SystemTimeToTzSpecificLocalTime(CurrentZone(), &utc, &local))
        return ToFields(local);
    return localtime_detail::PlainFields(seconds);
}

CalendarTime FromLocalFields(const LocalTimeFields& fields) {
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
    const std::int64_t shownAs = localtime_detail::PlainSeconds(ToLocalFields(t));
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
