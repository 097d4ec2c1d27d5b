#pragma once
#include "LocalTime.h"

#include <cstdint>
#include <string>
#include <string_view>

// One spreadsheet file seen as rows of cells, written or read strictly in
// order.  Each write or read works on the current cell and moves to the next
// one; EndRow (writing) and NextRow (reading) move to the first cell of the
// next row.  Results: 0 success, -1 failure or no further row, -2 an empty
// date or time cell.  File and automation errors in the middle of reading or
// writing are raised as CException, not returned.
class CTableFile {
public:
    virtual ~CTableFile() = default;
    virtual int OpenForWrite(std::string fileName) = 0;
    virtual int OpenForRead(std::string fileName) = 0;
    virtual int FinishWrite() = 0;
    virtual int Close() = 0;
    virtual int EndRow() = 0;
    virtual int NextRow() = 0;
    virtual int WriteString(std::string_view text) = 0;
    virtual int WriteDate(CalendarTime value) = 0;
    virtual int WriteTime(CalendarTime value) = 0;
    virtual int WriteInt(int value) = 0;
    virtual int WriteNumber(double value, int decimals) = 0;
    virtual int WriteCurrency(double value) = 0;
    virtual int ReadString(std::string& out) = 0;
    virtual int ReadDate(CalendarTime& out) = 0;
    virtual int ReadTime(CalendarTime& out) = 0;
    virtual int ReadLong(std::int32_t& value);
    virtual int ReadInt(int& out) = 0;
    virtual int ReadDouble(double& out) = 0;
    virtual int ReadCurrency(double& out) = 0;
    // The current cell as the import takes a number: 0 with the value, -2
    // for an empty cell (value 0), -1 when the cell holds no number.  A text
    // counts only when it is wholly a decimal number with "." as decimal
    // point; a workbook's typed number counts whatever it shows.
    virtual int ReadNumberCell(double& out) = 0;
    virtual int GetRow();
    virtual int GetProgressPos() = 0;
    virtual int GetProgressMax() = 0;

protected:
    // Local midnight of the day a date cell names, its year taken through the
    // window the handheld's dates need: a two-digit year is of the 1900s, and
    // a year before 1970 moves a century on, so 00-69 read as 2000-2069.
    // -1 for a year then past 2031 or below lowestYear, and for a day before
    // the first local midnight a calendar time holds (December 1901).
    static int WindowedLocalMidnight(int year, int month, int day, int lowestYear, CalendarTime& out);
    // Today's local date at that hour and minute, 0 seconds: what a time
    // cell is read as.
    static CalendarTime TodayAt(int hour, int minute);

    int m_row = 0;
};
