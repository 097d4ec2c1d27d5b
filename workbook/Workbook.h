#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An Excel 97-2003 workbook (BIFF8 inside a compound file) reduced to what
// the spreadsheet stand-in keeps: the cells of the first worksheet.  Platform
// free; texts are UTF-16 as the file stores them.
namespace workbook {

enum class CellKind { Empty, Number, Date, Money, Text, Boolean, Error };

struct Cell {
    CellKind kind = CellKind::Empty;
    // Number and Money: the value.  Date: the day serial of the 1900 date
    // system with the time as its fraction (0 = 1899-12-30, as an automation
    // date).  Boolean: 0 or 1.  Error: the error code.
    double number = 0;
    std::u16string text;  // Text only
};

// Inclusive, 0-based; an empty sheet has firstRow > lastRow.
struct CellRange {
    int firstRow = 0, lastRow = -1, firstColumn = 0, lastColumn = -1;
    bool Empty() const { return firstRow > lastRow; }
};

class Sheet {
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;

    // Stores a cell (an Empty cell clears it); false outside the sheet.
    bool SetCell(int row, int column, Cell cell);
    // The cell at that address; an Empty cell outside what was set.
    const Cell& GetCell(int row, int column) const;
    // The rows and columns that hold cells that are not Empty.
    CellRange UsedRange() const;

private:
    std::vector<std::vector<Cell>> m_rows;
};

// The whole file of a workbook whose one worksheet holds the sheet's cells.
std::vector<std::uint8_t> WriteWorkbook(const Sheet& sheet);

// Reads the first worksheet of a workbook file.  False, with a message in
// error and the sheet left empty, when the bytes are no workbook it can read.
bool ReadWorkbook(const std::uint8_t* data, std::size_t size, Sheet& sheet, std::string& error);

}  // namespace workbook
