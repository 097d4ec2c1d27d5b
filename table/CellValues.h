#pragma once
#include "Workbook.h"

#include <oaidl.h>

#include <string>
#include <string_view>

// How a workbook's cells meet automation values, the way a user of the
// spreadsheet application knows them: the spreadsheet stand-in answers its
// automation calls with these, and the built-in workbook table file takes and
// gives the same values, so both keep the same cells.
namespace cellvalues {

// The cell a value put stores: a text with a leading apostrophe is that text
// without it; any other text that reads as a number (in the user's locale),
// a truth value or a date becomes one; money (VT_CY) stays money, a date
// (VT_DATE) a date, any other number a number; an empty value or text clears
// the cell.  False (a type mismatch) for values no cell holds.
bool FromValue(const VARIANT& value, workbook::Cell& cell);

// Stores the cell at the 0-based row and column; empty when stored, else the
// spreadsheet application's description of why the sheet refuses it (beyond
// 65,536 rows or 256 columns, a text over 32,767 characters, a value out of
// the range a cell holds).
std::wstring StoreCell(workbook::Sheet& sheet, int row, int column, const workbook::Cell& cell);
// The same for a Text cell of those characters.
std::wstring StoreText(workbook::Sheet& sheet, int row, int column, std::u16string_view text);

// The cell's typed value: VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_BOOL, VT_ERROR,
// or VT_EMPTY for an empty cell.
void ToValue(const workbook::Cell& cell, VARIANT& value);

// A cell's text from the program's 8-bit text and back, as CBstr::FromAnsi
// and CBstr::ToAnsi convert them (Windows-1252), without a BSTR between: the
// built-in workbook table file's texts take this way.
void TextFromAnsi(std::string_view text, std::u16string& out);
std::string AnsiFromText(std::u16string_view text);

// What the cell shows: numbers in General format, money in the user's
// currency format, dates in the user's short date (times as hour and
// minute), truth values as TRUE and FALSE, errors by their names.
std::wstring DisplayedText(const workbook::Cell& cell);

}  // namespace cellvalues
