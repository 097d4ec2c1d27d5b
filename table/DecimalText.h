#pragma once
// Numbers spelled and read in decimal, exactly as the C library's printf
// ("%.Nf") and strtod do, without their general machinery where the number
// allows: an export spells three numbers per row and an import reads three.
#include "RowText.h"

#include <optional>
#include <string>
#include <string_view>

// printf's "%.<decimals>f" of value, for 0 to 9 decimals, appended to out
// (a row of cells is spelled into one text, with no text per number).
void AppendFixed(CRowText& out, double value, int decimals);

// strtod's value of text that is wholly a decimal number: an optional sign,
// digits, an optional "." and digits, an optional exponent.
double ParseDecimal(std::string_view text);
// The same without the C library, for the plain numbers a log is made of:
// an optional sign, at least one digit, an optional "." among the digits, at
// most 15 significant digits and 22 decimals.  Nothing for any other text.
std::optional<double> ParsePlainDecimal(std::string_view text);
