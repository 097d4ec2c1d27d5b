#pragma once
#include "File.h"
#include "RowText.h"
#include "ShortDate.h"
#include "TableFile.h"

#include <memory>
#include <string>
#include <string_view>

// A table file kept as delimited text: one line per row, every written cell
// in double quotes, cells separated by the list separator, rows ended by
// CR LF.  Numbers are spelled with "." whatever the locale; dates and times in
// the user's locale format.  Bytes are ANSI text with no header of any kind.
class CCsvTableFile : public CTableFile {
public:
    CCsvTableFile();
    // Works on the given file object instead of a plain CFile (a test hands in
    // one that fails like a full disk).
    explicit CCsvTableFile(std::unique_ptr<CFile> file);
    ~CCsvTableFile() override;

    // Written whole between cells; on reading only a one-character separator
    // separates cells.
    void SetSeparator(std::string separator) { m_separator = std::move(separator); }
    // Set: a line feed inside a written cell becomes a blank (for programs
    // that take any line feed for a row end).
    void SetLineFeedFlag(int flag) { m_lineFeedFlag = flag; }

    int OpenForWrite(std::string fileName) override;
    int OpenForRead(std::string fileName) override;
    int FinishWrite() override;
    int Close() override;
    int EndRow() override;
    int NextRow() override;
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
    int GetProgressPos() override;
    int GetProgressMax() override;

    // The user's short date of t's local day, and the user's hour-and-minute
    // time of t's local time of day; empty when the locale cannot spell it.
    std::string FormatLocalDate(CalendarTime t);
    static std::string FormatLocalTime(CalendarTime t);

private:
    // The user's short date as it stood at the file's first date.
    const CShortDate& ShortDate();
    // The row with the next cell begun; EndCell ends it.
    CRowText& StartCell();
    void EndCell();
    // The row's next cell, valid until the next cell or row is read.
    std::string_view TakeCell();

    int m_lineFeedFlag = 0;
    std::unique_ptr<CFile> m_file;
    int m_atRowStart = 1;
    std::string m_separator;
    CRowText m_pendingRow;         // the cells written since the row began
    std::string m_spill;           // the row that NextRow read, where the file's read-ahead does not hold it whole
    std::string_view m_unread;     // what of that row the cell reads have not taken
    std::string m_unquoted;        // a quoted cell's text where a quote is kept inside it
    std::unique_ptr<CShortDate> m_shortDate;
};
