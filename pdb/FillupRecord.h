#pragma once
#include "LocalTime.h"
#include "PalmRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Records 1 to n of a car's database: one fill-up or one recurring cost.
class CFillupRecord {
public:
    static constexpr std::size_t kFixedSize = 16;  // bytes before the note
    static constexpr std::uint32_t kThousandthsBit = 0x80000000;  // of fillAmount
    static constexpr std::uint32_t kPriceMask = 0x0FFFFFFF;
    static constexpr std::uint16_t kNoDate = 0xFFFF;  // the handheld's packed "no date"

    CFillupRecord() = default;
    virtual ~CFillupRecord() = default;

    // Fills the fields from the record's bytes and category name; a recurring
    // entry leaves fillAmount as it was, any other leaves recurringEndDate and
    // recurringInterval.  Never reads past the record: missing bytes count as
    // 0 and the note ends at its NUL or the record's end.  Returns 0.
    int ParseFillupRecord(const CPalmRecord& record);
    // The same from a record's bytes where they lie, categoryName left as it
    // was (a record's bytes do not hold it).
    int ParseFillupRecord(const unsigned char* data, std::size_t size);
    // Writes the record's bytes into buffer (capacity bytes) and returns their
    // number, 17 + note length.  A note too long for the buffer is cut so
    // that the record and its NUL fit.  -1, nothing written, when not even an
    // empty note fits (capacity below 17).
    int PackFillupRecord(unsigned char* buffer, std::size_t capacity) const;

    std::string categoryName;
    CalendarTime date = 0;          // local midnight
    std::uint32_t fillAmount = 0;   // hundredths; thousandths in bits 30-0 when bit 31 is set
    std::uint32_t mileage = 0;      // tenths
    std::uint32_t price = 0;        // hundredths, magnitude
    bool partial = false;
    bool missing = false;
    bool recurring = false;
    bool priceNegative = false;
    // Local midnight; none when the cost has no end date (stored as kNoDate).
    // Recurring entries only.
    std::optional<CalendarTime> recurringEndDate;
    std::uint16_t recurringInterval = 0;  // months; recurring entries only
    std::string note;
};
