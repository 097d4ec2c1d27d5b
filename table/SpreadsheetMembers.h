#pragma once
#include <oaidl.h>

// The members of the spreadsheet application's published object model that
// the workbook table file calls, by their fixed DISPIDs.  The spreadsheet
// stand-in answers the same numbers.
namespace spreadsheet {

// Application
constexpr DISPID kWorkbooks = 0x23C;  // property get: the workbooks collection
constexpr DISPID kQuit = 0x12E;       // method
constexpr DISPID kVersion = 0x188;    // property get: "major.minor"
// Workbooks
constexpr DISPID kAdd = 0xB5;   // method: a new workbook
constexpr DISPID kOpen = 0x2AA;  // method (file name): the opened workbook
// Workbook
constexpr DISPID kSheets = 0x1E5;  // property get: the sheets collection
constexpr DISPID kSave = 0x11B;    // method
constexpr DISPID kSaveAs = 0x11C;  // method (file name [, file format])
constexpr DISPID kClose = 0x115;   // method ([save changes])
// Sheets, Range: the default member, an item by index or by row and column
constexpr DISPID kDefault = 0;
// Worksheet
constexpr DISPID kCells = 0xEE;       // property get: the range of all cells
constexpr DISPID kUsedRange = 0x19C;  // property get
// Range
constexpr DISPID kRow = 0x101;    // property get: the first row's index
constexpr DISPID kRows = 0x102;   // property get: the range's rows
constexpr DISPID kCount = 0x76;   // property get
constexpr DISPID kValue = 6;      // property get and put: the typed value
constexpr DISPID kText = 0x8A;    // property get: the displayed text

// SaveAs file format: Excel 97-2003 workbook, known from major version 12 on.
constexpr long kWorkbook97Format = 56;
constexpr int kFirstVersionWithFileFormats = 12;

}  // namespace spreadsheet
