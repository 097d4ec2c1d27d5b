#pragma once
#include "Workbook.h"

#include <oaidl.h>

#include <string>

// How the stand-in's cells meet automation values, the way a user of the
// spreadsheet application knows them.
namespace cellvalues {

// The cell a value put stores: a text with a leading apostrophe is that text
// without it; any other text that reads as a number (in the user's locale),
// a truth value or a date becomes one; money (VT_CY) stays money, a date
// (VT_DATE) a date, any other number a number; an empty value or text clears
// the cell.  Raises a type mismatch for values no cell holds.
workbook::Cell FromValue(const VARIANT& value);

// The cell's typed value: VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_BOOL, VT_ERROR,
// or VT_EMPTY for an empty cell.
void ToValue(const workbook::Cell& cell, VARIANT& value);

// What the cell shows: numbers in General format, money in the user's
// currency format, dates in the user's short date (times as hour and
// minute), truth values as TRUE and FALSE, errors by their names.
std::wstring DisplayedText(const workbook::Cell& cell);

}  // namespace cellvalues
