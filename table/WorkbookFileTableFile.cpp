#include "WorkbookFileTableFile.h"

#include "Bstr.h"
#include "CellValues.h"
#include "CsvDialect.h"
#include "MappedFile.h"
#include "Message.h"
#include "resource.h"

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The largest file the workbook reader takes.
constexpr std::uint64_t kLargestWorkbook = 1u << 30;

std::string FolderOf(const std::string& path) {
    const std::string::size_type end = path.find_last_of("\\/");
    if (end == std::string::npos) return ".";
    return path.substr(0, end + 1);
}

// Whether an existing file of that name could be replaced: not read-only, not
// held by a program that keeps others from writing it.
bool Replaceable(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

constexpr char kTooLarge[] = "a file of more than 1 GiB, larger than any workbook this reads";

[[noreturn]] void Unreadable(const std::string& fileName, const std::string& reason) {
    throw CWorkbookFileException(FormatResourceString(IDS_UNREADABLE_WORKBOOK, fileName, reason));
}

}  // namespace

CWorkbookFileTableFile::CWorkbookFileTableFile()
    : CWorkbookFileTableFile([] { return std::make_unique<CFile>(); }) {}

CWorkbookFileTableFile::CWorkbookFileTableFile(FileMaker makeFile) : m_makeFile(std::move(makeFile)) {}

CWorkbookFileTableFile::~CWorkbookFileTableFile() { DiscardTemporaryFile(); }

void CWorkbookFileTableFile::DiscardTemporaryFile() {
    m_file.reset();
    if (!m_temporaryPath.empty()) DeleteFileA(m_temporaryPath.c_str());
    m_temporaryPath.clear();
}

int CWorkbookFileTableFile::OpenForWrite(std::string fileName) {
    m_path = fileName;
    m_row = 1;
    m_column = 1;
    m_readRow = 0;
    if (!Replaceable(fileName)) return -1;
    // A name of the system's own making in the target's folder: the move over
    // the target then stays within one volume.
    char temporary[MAX_PATH + 16] = {};
    if (GetTempFileNameA(FolderOf(fileName).c_str(), "rtx", 0, temporary) == 0) return -1;
    m_temporaryPath = temporary;
    m_file = m_makeFile();
    if (!m_file->Open(m_temporaryPath, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) {
        DiscardTemporaryFile();
        return -1;
    }
    return 0;
}

int CWorkbookFileTableFile::OpenForRead(std::string fileName) {
    m_path = fileName;
    m_readRow = 0;
    std::string reason;
    bool decoded = false;
    if (CMappedFile mapped(fileName); mapped.View()) {
        if (mapped.Size() > kLargestWorkbook) Unreadable(fileName, kTooLarge);
        decoded = workbook::ReadWorkbook(mapped.View(), mapped.Size(), m_sheet, reason);
    } else {
        CFile file;
        if (!file.Open(fileName, CFile::Mode::Read)) return -1;
        const std::uint64_t length = file.GetLength();
        if (length > kLargestWorkbook) Unreadable(fileName, kTooLarge);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
        if (file.Read(bytes.data(), bytes.size()) != bytes.size()) Unreadable(fileName, "the file ended while it was read");
        file.Close();
        decoded = workbook::ReadWorkbook(bytes.data(), bytes.size(), m_sheet, reason);
    }
    if (!decoded) Unreadable(fileName, reason);
    m_row = 1;
    m_column = 1;
    // Rows count from row 1 to the last used one; an empty sheet has row 1.
    const workbook::CellRange used = m_sheet.UsedRange();
    m_rowCount = used.Empty() ? 1 : used.lastRow + 1;
    return 0;
}

int CWorkbookFileTableFile::FinishWrite() {
    if (m_file) {
        try {
            // Handed over as it is made: the whole file held in memory would
            // cost more than making it.
            workbook::WriteWorkbook(m_sheet, [this](const std::uint8_t* data, std::size_t size) { m_file->Write(data, size); });
            m_file->Close();
        } catch (const CException&) {
            DiscardTemporaryFile();
            throw;
        }
        m_file.reset();
        if (!MoveFileExA(m_temporaryPath.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            const DWORD error = GetLastError();
            DiscardTemporaryFile();
            throw CFileException(error, m_path);
        }
        m_temporaryPath.clear();
    }
    return Close();
}

int CWorkbookFileTableFile::Close() {
    DiscardTemporaryFile();
    return 0;
}

void CWorkbookFileTableFile::PutCellValue(CVariant value) {
    workbook::Cell cell;
    if (!cellvalues::FromValue(value.Get(), cell)) {
        ClearRowSoFar();
        throw COleException(DISP_E_TYPEMISMATCH);
    }
    PutCell(cell);
}

void CWorkbookFileTableFile::PutCell(const workbook::Cell& cell) {
    Refused(cellvalues::StoreCell(m_sheet, m_row - 1, m_column - 1, cell));
    ++m_column;
}

void CWorkbookFileTableFile::PutText(std::u16string_view text) {
    Refused(cellvalues::StoreText(m_sheet, m_row - 1, m_column - 1, text));
    ++m_column;
}

void CWorkbookFileTableFile::Refused(const std::wstring& refusal) {
    if (refusal.empty()) return;
    ClearRowSoFar();
    throw CWorkbookFileException(CBstr::ToAnsi(refusal.data(), static_cast<unsigned>(refusal.size())));
}

void CWorkbookFileTableFile::ClearRowSoFar() {
    // A row whose writing failed leaves nothing behind: the file holds whole
    // rows only, as the workbook over automation does.
    for (int column = 1; column < m_column; ++column) m_sheet.SetCell(m_row - 1, column - 1, workbook::Cell());
    m_column = 1;
}

workbook::CellView CWorkbookFileTableFile::NextCell() const {
    if (m_readRow != m_row) {
        m_readCells = m_sheet.Row(m_row - 1);
        m_readRow = m_row;
    }
    const auto column = static_cast<std::size_t>(m_column - 1);
    return column < m_readCells.size() ? m_sheet.View(m_readCells[column]) : workbook::CellView();
}

CWorkbookFileTableFile::CellContent CWorkbookFileTableFile::GetCellValue() {
    const workbook::CellView cell = NextCell();
    m_lastCell.kind = cell.kind;
    m_lastCell.number = cell.number;
    m_lastCell.text = cell.text;
    CellContent content;
    cellvalues::ToValue(m_lastCell, *content.value.Receive());
    ++m_column;
    return content;
}

std::string CWorkbookFileTableFile::DisplayedText() {
    const std::wstring text = cellvalues::DisplayedText(m_lastCell);
    return CBstr::ToAnsi(text.data(), static_cast<unsigned>(text.size()));
}


namespace {

workbook::Cell NumberCell(workbook::CellKind kind, double number) {
    workbook::Cell cell;
    cell.kind = kind;
    cell.number = number;
    return cell;
}

}  // namespace

int CWorkbookFileTableFile::WriteString(std::string_view text) {
    // The cell of the apostrophe text the base class puts: the text itself,
    // or an empty cell.
    const std::string kept = CellText(std::string(text));
    if (kept.empty()) {
        PutCell(workbook::Cell());
    } else {
        cellvalues::TextFromAnsi(kept, m_text);
        PutText(m_text);
    }
    return 0;
}

int CWorkbookFileTableFile::WriteDate(CalendarTime value) {
    PutCell(NumberCell(workbook::CellKind::Date, DateValue(value)));
    return 0;
}

int CWorkbookFileTableFile::WriteTime(CalendarTime value) {
    PutCell(NumberCell(workbook::CellKind::Date, TimeValue(value)));
    return 0;
}

int CWorkbookFileTableFile::WriteInt(int value) {
    PutCell(NumberCell(workbook::CellKind::Number, value));
    return 0;
}

int CWorkbookFileTableFile::WriteNumber(double value, int) {
    PutCell(NumberCell(workbook::CellKind::Number, value));
    return 0;
}

int CWorkbookFileTableFile::WriteCurrency(double value) {
    PutCell(NumberCell(workbook::CellKind::Money, static_cast<double>(CurrencyAmount(value)) / 10000.0));
    return 0;
}

int CWorkbookFileTableFile::ReadString(std::string& out) {
    const workbook::CellView cell = NextCell();
    switch (cell.kind) {
    case workbook::CellKind::Empty: out.clear(); break;
    case workbook::CellKind::Text: out = cellvalues::AnsiFromText(cell.text); break;
    default: return CTypedCellTableFile::ReadString(out);
    }
    ++m_column;
    return 0;
}

int CWorkbookFileTableFile::ReadDate(CalendarTime& out) {
    const workbook::CellView cell = NextCell();
    if (cell.kind == workbook::CellKind::Empty) {
        ++m_column;
        return -2;
    }
    if (cell.kind != workbook::CellKind::Date) return CTypedCellTableFile::ReadDate(out);
    ++m_column;
    SYSTEMTIME day;
    if (!VariantTimeToSystemTime(cell.number, &day)) return -1;
    // No lower bound: a workbook's date is a real day whatever its year.
    return WindowedLocalMidnight(day.wYear, day.wMonth, day.wDay, 0, out);
}

int CWorkbookFileTableFile::ReadNumberCell(double& out) {
    const workbook::CellView cell = NextCell();
    switch (cell.kind) {
    case workbook::CellKind::Number:
        // The sheet holds finite numbers only.
        out = cell.number;
        break;
    case workbook::CellKind::Money: {
        // Through money's ten-thousandths, as its automation value goes
        // (VarCyFromR8).  Where the nearest whole number of ten-thousandths
        // is no tie, every rounding rule gives it.
        const double scaled = cell.number * 10000.0;
        const double nearest = std::round(scaled);
        CY amount;
        if (std::fabs(nearest - scaled) != 0.5 && std::fabs(nearest) < 9.2e18)
            out = nearest / 10000.0;
        else
            out = SUCCEEDED(VarCyFromR8(cell.number, &amount)) ? static_cast<double>(amount.int64) / 10000.0 : cell.number;
        break;
    }
    case workbook::CellKind::Empty:
    case workbook::CellKind::Text:
        ++m_column;
        return csv::ParseNumberCell(cellvalues::AnsiFromText(cell.text), out);
    default:
        return CTypedCellTableFile::ReadNumberCell(out);
    }
    ++m_column;
    return 0;
}
