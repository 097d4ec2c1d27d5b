#include "CsvTableFile.h"

#include "CsvDialect.h"
#include "DecimalText.h"
#include "Exception.h"

#include <windows.h>

#include <charconv>
#include <climits>
#include <utility>

namespace {

// Lines are read off the file's read-ahead buffer in place.
class FileByteSource : public csv::ByteSource {
public:
    explicit FileByteSource(CFile& file) : m_file(file) {}
    std::string_view Peek() override { return m_file.PeekReadAhead(); }
    void Take(std::size_t count) override { m_file.TakeReadAhead(count); }

private:
    CFile& m_file;
};

// The buffer the locale functions spell a time into.
constexpr int kFormatBufferSize = 100;

// A CSV date before 1900 (after the year window) is no date of the log.
constexpr int kFirstYear = 1900;


// The current local time with the time of day of t put in, as the locale
// functions want it.
SYSTEMTIME NowWithTimeOfDayOf(CalendarTime t) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const LocalTimeFields f = ToLocalFields(t);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    st.wMilliseconds = 0;
    return st;
}

// The table's next cell read as a date or time: 0, -1 when it cannot be
// read, -2 when it is empty.
int ReadLocaleCell(std::string_view cell, const CShortDate& dates, LocalTimeFields& parsed) {
    const std::string_view text = csv::TrimWhiteSpace(cell);
    if (text.empty()) return -2;
    return dates.Read(text, parsed) ? 0 : -1;
}

int ClampedUnitsOf256(std::uint64_t bytes) {
    const std::uint64_t units = bytes >> 8;
    return units > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(units);
}

}  // namespace

CCsvTableFile::CCsvTableFile() : CCsvTableFile(std::make_unique<CFile>()) {}

CCsvTableFile::CCsvTableFile(std::unique_ptr<CFile> file) : m_file(std::move(file)) {}

CCsvTableFile::~CCsvTableFile() {
    // Closed here when the caller did not: what was written stays, as far as
    // the disk takes it.  A destructor cannot report the error.
    try {
        CCsvTableFile::Close();
    } catch (const CException&) {
    }
}

int CCsvTableFile::OpenForWrite(std::string fileName) {
    // Emptied when it exists: rows written over a longer old file must not be
    // followed by the old file's last rows.
    if (!m_file->Open(fileName, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) return -1;
    m_atRowStart = 1;
    m_row = 0;
    m_pendingRow.Clear();
    m_shortDate.reset();
    return 0;
}

int CCsvTableFile::OpenForRead(std::string fileName) {
    if (!m_file->Open(fileName, CFile::Mode::Read, CFile::Share::DenyWrite)) return -1;
    m_atRowStart = 1;
    m_row = 0;
    m_unread = {};
    m_shortDate.reset();
    return 0;
}

int CCsvTableFile::FinishWrite() { return Close(); }

int CCsvTableFile::Close() {
    // Cells of a row that was never ended still belong in the file, once
    // (the text keeps its memory when emptied).
    const std::string_view unended = m_pendingRow.View();
    m_pendingRow.Clear();
    if (!unended.empty()) m_file->Write(unended.data(), unended.size());
    m_file->Close();
    return 0;
}

int CCsvTableFile::EndRow() {
    // A row reaches the file object whole, as it ends, and is marked whole
    // there: rows are handed to the system a buffer at a time (one write per
    // row cost more than the rest of an export), and a disk that fills part
    // of the way through a buffer leaves the file cut back to its last whole
    // row, nothing of a later one.
    // The row's text is emptied, not given away, so that the next row reuses
    // its memory; emptied whether or not the write goes through.
    m_pendingRow.Append("\r\n");
    m_atRowStart = 1;
    try {
        m_file->Write(m_pendingRow.View().data(), m_pendingRow.Size());
    } catch (...) {
        m_pendingRow.Clear();
        throw;
    }
    m_pendingRow.Clear();
    m_file->MarkWholeEnd();
    ++m_row;
    return 0;
}

int CCsvTableFile::NextRow() {
    m_unread = {};
    FileByteSource source(*m_file);
    if (!csv::ReadCsvLine(source, m_spill, m_unread)) return -1;
    ++m_row;
    return 0;
}

CRowText& CCsvTableFile::StartCell() {
    if (!m_atRowStart) m_pendingRow.Append(m_separator);
    m_pendingRow.Append('"');
    return m_pendingRow;
}

void CCsvTableFile::EndCell() {
    m_pendingRow.Append('"');
    m_atRowStart = 0;
}

int CCsvTableFile::WriteString(std::string_view text) {
    // The cell is kept whole, however long: nothing of ours limits its size.
    // (Lines longer than a read of NextRow arrive cut when read back.)
    csv::AppendCsvText(StartCell(), text, m_lineFeedFlag != 0);
    EndCell();
    return 0;
}

int CCsvTableFile::WriteDate(CalendarTime value) { return WriteString(FormatLocalDate(value)); }

const CShortDate& CCsvTableFile::ShortDate() {
    // Read at the first date of the file, so that a file without dates never
    // asks the locale.
    if (!m_shortDate) m_shortDate = std::make_unique<CShortDate>();
    return *m_shortDate;
}

int CCsvTableFile::WriteTime(CalendarTime value) { return WriteString(FormatLocalTime(value)); }

// Numbers hold no quote and no line break: they go into the row as spelled.
int CCsvTableFile::WriteInt(int value) {
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    CRowText& row = StartCell();
    for (const char* digit = digits; digit < end; ++digit) row.Append(*digit);
    EndCell();
    return 0;
}

int CCsvTableFile::WriteNumber(double value, int decimals) {
    CRowText& row = StartCell();
    if (decimals >= 1 && decimals <= 3) AppendFixed(row, value, decimals);
    EndCell();
    return 0;
}

int CCsvTableFile::WriteCurrency(double value) { return WriteNumber(value, 2); }

std::string_view CCsvTableFile::TakeCell() { return csv::TakeCsvCell(m_unread, m_separator, m_unquoted); }

int CCsvTableFile::ReadString(std::string& out) {
    out.assign(TakeCell());
    return 0;
}

int CCsvTableFile::ReadDate(CalendarTime& out) {
    LocalTimeFields parsed;
    if (const int result = ReadLocaleCell(TakeCell(), ShortDate(), parsed); result != 0) return result;
    return WindowedLocalMidnight(parsed.year, parsed.month, parsed.day, kFirstYear, out);
}

int CCsvTableFile::ReadTime(CalendarTime& out) {
    LocalTimeFields parsed;
    if (const int result = ReadLocaleCell(TakeCell(), ShortDate(), parsed); result != 0) return result;
    out = TodayAt(parsed.hour, parsed.minute);
    return 0;
}

int CCsvTableFile::ReadInt(int& out) {
    out = csv::ParseCsvInt(TakeCell());
    return 0;
}

int CCsvTableFile::ReadDouble(double& out) {
    out = csv::ParseCsvDouble(TakeCell());
    return 0;
}

int CCsvTableFile::ReadCurrency(double& out) { return ReadDouble(out); }

int CCsvTableFile::ReadNumberCell(double& out) {
    return csv::ParseNumberCell(TakeCell(), out);
}

int CCsvTableFile::GetProgressPos() { return ClampedUnitsOf256(m_file->GetPosition()); }

int CCsvTableFile::GetProgressMax() { return ClampedUnitsOf256(m_file->GetLength()); }

std::string CCsvTableFile::FormatLocalDate(CalendarTime t) {
    const LocalTimeFields day = ToLocalFields(t);
    return ShortDate().Spell(day.year, day.month, day.day);
}

std::string CCsvTableFile::FormatLocalTime(CalendarTime t) {
    const SYSTEMTIME st = NowWithTimeOfDayOf(t);
    char buffer[kFormatBufferSize];
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, kFormatBufferSize) <= 0)
        return std::string();
    return buffer;
}
