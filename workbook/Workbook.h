#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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
    // date).  Boolean: 0 or 1.  Error: the error code, one of kErrorCodes.
    double number = 0;
    std::u16string text;  // Text only
};

// Inclusive, 0-based; an empty sheet has firstRow > lastRow.
struct CellRange {
    int firstRow = 0, lastRow = -1, firstColumn = 0, lastColumn = -1;
    bool Empty() const { return firstRow > lastRow; }
};

// The error values a cell can hold: #NULL!, #DIV/0!, #VALUE!, #REF!,
// #NAME?, #NUM!, #N/A.
inline constexpr int kErrorCodes[] = {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A};

// A cell as the sheet keeps it, its text seen in place: valid until the
// sheet next changes.
struct CellView {
    CellKind kind = CellKind::Empty;
    double number = 0;
    std::u16string_view text;
};

class Sheet {
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxTextLength = 32767;  // characters of one cell
    // Dates from 1899-12-30 (times of day alone) to 9999-12-31.  The 1900
    // date system has no day of its own for 1899-12-31 (automation dates 1
    // to 2): its serials 0 to 1 are times of day.
    static constexpr double kFirstDay = 2, kEndOfDays = 2958466;

    // Stores a cell (an Empty cell clears it); false outside the sheet, and
    // for what no workbook cell holds: a number that is not finite, a date
    // outside the dates above, a Boolean other than 0 or 1, an error code
    // not in kErrorCodes, a text longer than kMaxTextLength.
    bool SetCell(int row, int column, const Cell& cell);
    // Stores a Text cell of those characters, as SetCell does.
    bool SetText(int row, int column, std::u16string_view text);
    // The cell at that address; an Empty cell outside what was set.
    Cell GetCell(int row, int column) const;
    CellView ViewCell(int row, int column) const;
    // The rows and columns that hold cells that are not Empty.
    CellRange UsedRange() const;
    // One past the last column of the row that may hold a cell that is not
    // Empty (0 for a row that never held any), so that sparse sheets are
    // walked by their cells rather than by their used range's area.
    int RowEnd(int row) const;
    // The first row from row on that may hold a cell that is not Empty;
    // kMaxRows when there is none, so that a walk over a sparse sheet's rows
    // skips the rows that never held a cell.
    int RowFrom(int row) const;

    // How the sheet keeps a cell, in 16 bytes: a text as where its
    // characters lie among the sheet's texts.  The sheet keeps its cells and
    // its texts in a few large blocks, not a heap block per row or text.
    struct Slot {
        CellKind kind = CellKind::Empty;
        std::uint32_t length = 0;  // Text: its characters
        union {
            double number = 0;
            std::uint64_t start;  // Text: where its characters begin
        };
    };
    // The cells of one row up to its RowEnd, as the sheet keeps them: valid
    // until the sheet next changes.
    class RowSlots {
    public:
        RowSlots(const Slot* first, std::size_t size) : m_first(first), m_size(size) {}
        std::size_t size() const { return m_size; }
        const Slot& operator[](std::size_t column) const { return m_first[column]; }

    private:
        const Slot* m_first;
        std::size_t m_size;
    };
    RowSlots Row(int row) const;
    CellView View(const Slot& slot) const;

private:
    // Where a row's cells lie among the slots, by the slots' running index.
    struct RowPlace {
        std::uint32_t first = 0, size = 0, capacity = 0;
    };

    bool Store(int row, int column, const Slot& slot);
    Slot* SlotsAt(std::uint32_t index);
    const Slot* SlotsAt(std::uint32_t index) const;
    // Room for that many slots side by side; returns the first one's index.
    std::uint32_t NewSlots(std::uint32_t count);
    // Room for the text, or the same text kept already; returns where it
    // begins.
    std::uint64_t NewText(std::u16string_view text);
    std::u16string_view TextAt(std::uint64_t start, std::uint32_t length) const;
    // Drops the characters of texts no cell holds any longer.
    void CompactTexts();

    // Rows by number up to the last that held cells; a row that never held
    // any has no slots.
    std::vector<RowPlace> m_rows;
    std::vector<std::vector<Slot>> m_slotBlocks;
    std::uint32_t m_slotCount = 0;  // running index of the next new slot
    // A row that outgrows its room moves and leaves it; the next new row
    // gets room for as many cells as the row stored last.
    std::uint32_t m_lastWidth = 0;
    std::vector<std::u16string> m_textBlocks;
    std::size_t m_textCharacters = 0;  // of the texts stored, overwritten ones included
    std::size_t m_unusedTexts = 0;     // of the texts overwritten
    struct SeenText {
        std::uint64_t start = 0;
        std::uint32_t length = 0;
    };
    std::vector<SeenText> m_seenTexts;
};

// The whole file of a workbook whose one worksheet holds the sheet's cells.
std::vector<std::uint8_t> WriteWorkbook(const Sheet& sheet);
// The same file handed to write a part at a time, in file order, never held
// whole; what write raises goes on to the caller.
void WriteWorkbook(const Sheet& sheet, const std::function<void(const std::uint8_t*, std::size_t)>& write);

// Reads the first worksheet of a workbook file.  False, with a message in
// error and the sheet left empty, when the bytes are no workbook it can read.
bool ReadWorkbook(const std::uint8_t* data, std::size_t size, Sheet& sheet, std::string& error);

}  // namespace workbook
