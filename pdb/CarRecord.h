#pragma once
#include "CarRecordItem.h"
#include "PalmRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Record 0 of a car's database: car name, units, currency and items.
class CCarRecord {
public:
    static constexpr std::size_t kHeaderSize = 44;
    static constexpr std::size_t kNameSize = 22;      // 21 characters and a NUL
    static constexpr std::size_t kCurrencySize = 4;   // 3 characters and a NUL
    static constexpr std::uint32_t kNewCarValue = 0xFEFEFEFE;

    explicit CCarRecord(std::string name = std::string());
    virtual ~CCarRecord() = default;

    // Fills every field from the record's bytes (items emptied first).  Never
    // reads past the record: missing bytes count as 0, a text ends at its
    // NUL, its field or the record's end, and only items lying whole inside
    // the record are taken.  Returns 0.
    int ParseCarRecord(const CPalmRecord& record);
    // Writes the record's bytes into buffer (capacity bytes) and returns their
    // number, 44 + 58 per item.  Texts too long for their fields are cut;
    // items that would not fit are left out (the count says how many were
    // written).  -1, nothing written, when even the 44 fixed bytes do not fit.
    int PackCarRecord(unsigned char* buffer, std::size_t capacity) const;

    std::string carName;
    std::vector<CCarRecordItem> items;
    bool miles = false;    // distances in miles, else kilometres
    bool gallons = false;  // volumes in gallons, else litres
    std::string currencySymbol;
    std::uint32_t carValue = kNewCarValue;
    std::string currencyCode;
    // Bytes 14-19, which the desktop does not interpret: carried from a
    // parsed record into its repacking, zero in a new one.
    std::array<unsigned char, 6> uninterpreted{};
};
