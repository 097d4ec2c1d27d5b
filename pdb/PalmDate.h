#pragma once
#include "LocalTime.h"

#include <cstdint>

// The handheld's packed date: bits 15-9 year - 1904, bits 8-5 month, bits
// 4-0 day; no time of day.

// The local calendar date of t, packed; the year wraps modulo 128, so 2032
// packs like 1904.
std::uint16_t PackPalmDate(CalendarTime t);

// Local midnight of a packed date.  A value that names no calendar day has
// its month held to 1-12 and its day to the days of that month: 0 gives
// 1904-01-01 and 0xFFFF 2031-12-31.  Where 0xFFFF means "no date" (a
// recurring cost's end date), the record keeps it apart before unpacking.
CalendarTime UnpackPalmDate(std::uint16_t packed);
