#pragma once
// Texts and cells of the files written for today's fuel trackers: UTF-8, a
// comma between cells and "." (or, for a server that reads numbers with a
// decimal comma, ",") as the decimal point.  Platform-free.
#include <cstdint>
#include <string>

namespace tracker {

// The handheld's Windows-1252 text as UTF-8.  The five bytes Windows-1252
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same number, as the system's own conversion makes them,
// so no byte of a note is lost.
std::string Windows1252ToUtf8(const std::string& text);

// One cell as it stands in the file: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break; as it is otherwise.
std::string CsvCell(const std::string& text);

// A stored whole number of hundredths, tenths or thousandths as a decimal
// with that many places ("-19.99", "12345.6", "45.123"), no grouping; with
// decimalComma the point is a comma.
std::string FixedDecimal(std::int64_t units, int places, bool decimalComma);

// A stored quotient numerator / denominator (denominator above 0) with three
// places, rounded half away from zero.
std::string Quotient3(std::int64_t numerator, std::int64_t denominator, bool decimalComma);

}  // namespace tracker
