#pragma once
#include "Workbook.h"

#include <cstdint>
#include <string>

// What a cell's number format makes of the number in it, and the day serials
// of the file's two date systems.
namespace workbook::formats {

// The built-in formats the writer gives its numbers.
constexpr std::uint16_t kGeneral = 0;
constexpr std::uint16_t kCurrency = 7;  // the locale's currency, two decimals
constexpr std::uint16_t kShortDate = 14;
constexpr std::uint16_t kTime = 20;       // h:mm
constexpr std::uint16_t kDateTime = 22;   // short date and h:mm

// Number, Date or Money for a number shown with the format of that index:
// from the pattern of its FORMAT record when the workbook has one (pattern
// non-null), else from the built-in formats.  Date when the pattern holds
// day, month, year, hour or second codes; Money when it shows a currency
// sign or is one of the built-in currency formats.
CellKind KindOfFormat(std::uint16_t index, const std::u16string* pattern);

// The format the writer gives a date: date, time of day, or both.
std::uint16_t DateFormatFor(double automationDate);

// The day serial a file stores for an automation date the sheet holds (the
// 1900 date system counts a 29 February 1900 that never was).
double SerialFromAutomationDate(double date);

// The automation date of a stored serial; false when no date is that serial
// (negative, beyond 9999, not a number).
bool AutomationDateFromSerial(double serial, bool system1904, double& date);

}  // namespace workbook::formats
