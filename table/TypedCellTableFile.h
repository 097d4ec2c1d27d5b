#pragma once
#include "TableFile.h"
#include "Variant.h"

#include <cstdint>
#include <optional>
#include <string>

// A table file whose cells hold typed values as the spreadsheet application
// gives them through automation (texts, numbers, money, dates): every write
// builds the cell's automation value, and every read chooses between a
// cell's typed value and the text the application shows for it.  The
// workbook table file over automation and the built-in one share these
// rules, so that both store and read the same cells.
class CTypedCellTableFile : public CTableFile {
public:
    int WriteString(std::string_view text) override;
    int WriteDate(CalendarTime value) override;
    int WriteTime(CalendarTime value) override;
    int WriteInt(int value) override;
    int WriteNumber(double value, int decimals) override;
    int WriteCurrency(double value) override;
    int ReadString(std::string& out) override;
    int ReadDate(CalendarTime& out) override;
    int ReadTime(CalendarTime& out) override;
    int ReadInt(int& out) override;
    int ReadDouble(double& out) override;
    int ReadCurrency(double& out) override;
    int ReadNumberCell(double& out) override;
    // Rows and cells are walked alike in both workbook kinds: the next cell
    // of a row is m_column, the rows run from 1 to m_rowCount.
    int EndRow() override;
    int NextRow() override;
    int GetProgressPos() override;
    int GetProgressMax() override;

protected:
    struct CellContent {
        CVariant value;
        // What the cell shows; none when it was not fetched with the value
        // (DisplayedText then gives it when a read needs it).
        std::optional<std::string> text;
    };

    // Stores the value in the current cell and moves one cell on.
    virtual void PutCellValue(CVariant value) = 0;
    // The current cell's typed value (and its text, where both come in one
    // go); moves one cell on.
    virtual CellContent GetCellValue() = 0;
    // The text of the cell GetCellValue gave last, for a content without it.
    virtual std::string DisplayedText() { return std::string(); }

    // What a cell keeps of a text written: up to its first zero byte,
    // without carriage returns.
    static std::string CellText(std::string text);
    // The automation date of a written date (its day) or time (its hour and
    // minute).
    static double DateValue(CalendarTime value);
    static double TimeValue(CalendarTime value);
    // The ten-thousandths of a written amount.  An amount money cannot hold
    // fails its row as a refused cell does: the row's cells so far are
    // cleared, and a COleException (overflow) raised.
    std::int64_t CurrencyAmount(double value);
    // Clears the cells of the current row written so far, so that a row
    // that fails part-way leaves nothing behind.
    virtual void ClearRowSoFar() = 0;

    int m_column = 1;
    int m_rowCount = 0;  // of a workbook opened for reading

private:
    const std::string& ShownText(CellContent& cell);
};
