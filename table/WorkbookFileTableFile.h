#pragma once
#include "Exception.h"
#include "File.h"
#include "TypedCellTableFile.h"
#include "Workbook.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A workbook file that cannot be read as one, or a cell the sheet cannot
// hold: carries the text the user is shown.
class CWorkbookFileException : public CException {
public:
    explicit CWorkbookFileException(std::string text) : m_text(std::move(text)) {}
    std::string GetErrorMessage() const override { return m_text; }

private:
    std::string m_text;
};

// A table file kept as an Excel 97-2003 workbook by the program itself, for
// machines without the spreadsheet application: the first sheet only, cells
// as the application keeps them (the same typed values, displayed texts and
// reading rules as the workbook table file over automation), row 1 current
// after OpenForRead.
//
// The whole workbook is held in memory.  Writing goes to a temporary file
// beside the target, which replaces the target only once it is complete, so
// a failure leaves an earlier file of that name as it was.  A cell beyond
// the sheet's 65,536 rows or a text it cannot hold raises when it is written,
// before anything reaches the file.  A file that is no workbook this reads
// raises from OpenForRead, naming the file and why.
class CWorkbookFileTableFile : public CTypedCellTableFile {
public:
    // Makes the file object the workbook is written through (tests hand in
    // one that fails).
    using FileMaker = std::function<std::unique_ptr<CFile>()>;

    CWorkbookFileTableFile();
    explicit CWorkbookFileTableFile(FileMaker makeFile);
    ~CWorkbookFileTableFile() override;
    CWorkbookFileTableFile(const CWorkbookFileTableFile&) = delete;
    CWorkbookFileTableFile& operator=(const CWorkbookFileTableFile&) = delete;

    // -1 when no file can be made beside the target, or the target exists
    // and cannot be written.
    int OpenForWrite(std::string fileName) override;
    // -1 when the file cannot be opened; raises CWorkbookFileException when
    // it is no workbook this reads, CFileException when reading it fails.
    int OpenForRead(std::string fileName) override;
    // Writes the workbook and moves it over the target; raises
    // CFileException when that fails (the target is then untouched).
    int FinishWrite() override;
    // Closes; a write not finished leaves no file.
    int Close() override;

    // The cells these store and read are those of the automation values the
    // base class builds and takes, but made and read in place: no automation
    // value and no BSTR per cell.  The rarer reads (a date from a text, a
    // number from a date, truth values, errors) take the base class's way.
    int WriteString(std::string_view text) override;
    int WriteDate(CalendarTime value) override;
    int WriteTime(CalendarTime value) override;
    int WriteInt(int value) override;
    int WriteNumber(double value, int decimals) override;
    int WriteCurrency(double value) override;
    int ReadString(std::string& out) override;
    int ReadDate(CalendarTime& out) override;
    int ReadNumberCell(double& out) override;

protected:
    void PutCellValue(CVariant value) override;
    CellContent GetCellValue() override;
    std::string DisplayedText() override;

private:
    void DiscardTemporaryFile();
    void ClearRowSoFar() override;
    // Stores the cell in the current cell and moves one cell on; a cell the
    // sheet refuses clears the row so far and raises.
    void PutCell(const workbook::Cell& cell);
    void PutText(std::u16string_view text);
    void Refused(const std::wstring& refusal);
    // The cell a read takes next (an Empty one beyond the row's cells).
    workbook::CellView NextCell() const;

    FileMaker m_makeFile;
    workbook::Sheet m_sheet;
    std::string m_path;
    std::string m_temporaryPath;
    std::unique_ptr<CFile> m_file;
    // The cell GetCellValue gave last.
    workbook::Cell m_lastCell;
    // The cells of the row being read, looked up once a row.
    mutable workbook::Sheet::RowSlots m_readCells{nullptr, 0};
    mutable int m_readRow = 0;
    std::u16string m_text;  // each text written, on its way into the sheet
};
