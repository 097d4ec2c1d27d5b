#include "EntryRow.h"

#include "CsvDialect.h"
#include "NumberCell.h"

#include <cctype>
#include <cmath>

namespace {
constexpr int kColumnsAfterDate = 8;
constexpr std::uint32_t kLargestMileage = 0xFFFFFFFF;  // tenths
constexpr std::uint32_t kLargestPrice = 0x0FFFFFFF;    // hundredths; a reader keeps 28 bits
constexpr double kLargestInterval = 0xFFFF;            // months

bool RestOfRowIsEmpty(CTableFile& table) {
    std::string cell;
    for (int i = 0; i < kColumnsAfterDate; ++i) {
        table.ReadString(cell);
        if (!csv::TrimWhiteSpace(cell).empty()) return false;
    }
    return true;
}

// Reads a number cell (an empty one reads as 0, as the export leaves
// recurring costs' mileage and fill-up cells empty) and scales it into an
// unsigned field; false for a cell that is no number or whose value does not
// fit.
bool ReadScaled(CTableFile& table, double factor, std::uint32_t largest, std::uint32_t& field) {
    double value = 0.0;
    if (table.ReadNumberCell(value) == -1) return false;
    return ScaleToField(value, factor, largest, field);
}

// A fill-up cell: hundredths, or thousandths for a pump that shows three
// places (see ScaleFillAmount); empty reads as 0.
bool ReadFillAmount(CTableFile& table, std::uint32_t& field) {
    double value = 0.0;
    if (table.ReadNumberCell(value) == -1) return false;
    return ScaleFillAmount(value, field);
}

bool ReadPrice(CTableFile& table, CFillupRecord& record) {
    double value = 0.0;
    if (table.ReadNumberCell(value) == -1) return false;
    record.priceNegative = value < 0.0;
    return ScaleToField(record.priceNegative ? -value : value, 100.0, kLargestPrice, record.price);
}

// An empty cell is 0; anything else must be a whole number that fits the
// 16-bit field, never a value cut or wrapped into it.
bool ReadInterval(CTableFile& table, std::uint16_t& interval) {
    double value = 0.0;
    if (table.ReadNumberCell(value) == -1) return false;
    if (!(value >= 0.0 && value <= kLargestInterval) || value != std::floor(value)) return false;
    interval = static_cast<std::uint16_t>(value);
    return true;
}

void ReadKind(CTableFile& table, CFillupRecord& record) {
    std::string text;
    table.ReadString(text);
    const std::string_view kind = csv::TrimWhiteSpace(text);
    const char letter = kind.size() == 1 ? static_cast<char>(std::tolower(static_cast<unsigned char>(kind[0]))) : 0;
    record.partial = letter == 'p';
    record.missing = letter == 'm';
    record.recurring = letter == 'r';
}
}  // namespace

int ReadEntryRow(CTableFile& table, CFillupRecord& record) {
    if (table.NextRow() != 0) return -1;

    const int date = table.ReadDate(record.date);
    if (date == -2) return RestOfRowIsEmpty(table) ? kEmptyRow : kInvalidDate;
    if (date != 0) return kInvalidDate;

    if (!ReadScaled(table, 10.0, kLargestMileage, record.mileage)) return kInvalidMileage;
    if (!ReadPrice(table, record)) return kInvalidPrice;
    if (!ReadFillAmount(table, record.fillAmount)) return kInvalidRefill;
    ReadKind(table, record);
    table.ReadString(record.note);
    table.ReadString(record.categoryName);

    if (record.recurring) {
        CalendarTime endDate = 0;
        const int endDateCell = table.ReadDate(endDate);
        if (endDateCell != 0 && endDateCell != -2) return kInvalidDate;
        record.recurringEndDate = endDateCell == 0 ? std::optional<CalendarTime>(endDate) : std::nullopt;
        if (!ReadInterval(table, record.recurringInterval)) return kInvalidInterval;
    }
    return 0;
}
