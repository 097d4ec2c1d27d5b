#pragma once
#include "LocalTime.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One 58-byte item of a car record.  Its meaning is the handheld's; the
// desktop only carries items from an existing car record into a new one.
struct CCarRecordItem {
    static constexpr std::size_t kSize = 58;
    static constexpr std::size_t kTextSize = 42;  // 41 characters and a NUL

    bool flag7 = false;  // bits 7, 6, 5, 4 of the item's first byte
    bool flag6 = false;
    bool flag5 = false;
    bool flag4 = false;
    CalendarTime date = 0;  // local midnight of the packed date
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
    std::uint32_t value3 = 0;
    std::string text;
};
