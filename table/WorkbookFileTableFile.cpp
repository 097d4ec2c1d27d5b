#include "WorkbookFileTableFile.h"

#include "Bstr.h"
#include "CellValues.h"
#include "Message.h"
#include "resource.h"

#include <windows.h>

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
    CFile file;
    if (!file.Open(fileName, CFile::Mode::Read)) return -1;
    const std::uint64_t length = file.GetLength();
    if (length > kLargestWorkbook) Unreadable(fileName, "a file of more than 1 GiB, larger than any workbook this reads");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (file.Read(bytes.data(), bytes.size()) != bytes.size()) Unreadable(fileName, "the file ended while it was read");
    file.Close();
    std::string reason;
    if (!workbook::ReadWorkbook(bytes.data(), bytes.size(), m_sheet, reason)) Unreadable(fileName, reason);
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
            const std::vector<std::uint8_t> bytes = workbook::WriteWorkbook(m_sheet);
            m_file->Write(bytes.data(), bytes.size());
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

int CWorkbookFileTableFile::EndRow() {
    m_column = 1;
    ++m_row;
    return 0;
}

int CWorkbookFileTableFile::NextRow() {
    ++m_row;
    m_column = 1;
    return m_row <= m_rowCount ? 0 : -1;
}

void CWorkbookFileTableFile::PutCellValue(CVariant value) {
    workbook::Cell cell;
    if (!cellvalues::FromValue(value.Get(), cell)) {
        ClearRowSoFar();
        throw COleException(DISP_E_TYPEMISMATCH);
    }
    const std::wstring refusal = cellvalues::StoreCell(m_sheet, m_row - 1, m_column - 1, std::move(cell));
    if (!refusal.empty()) {
        ClearRowSoFar();
        throw CWorkbookFileException(CBstr::ToAnsi(refusal.data(), static_cast<unsigned>(refusal.size())));
    }
    ++m_column;
}

void CWorkbookFileTableFile::ClearRowSoFar() {
    // A row whose writing failed leaves nothing behind: the file holds whole
    // rows only, as the workbook over automation does.
    for (int column = 1; column < m_column; ++column) m_sheet.SetCell(m_row - 1, column - 1, workbook::Cell());
    m_column = 1;
}

CWorkbookFileTableFile::CellContent CWorkbookFileTableFile::GetCellValue() {
    m_lastCell = &m_sheet.GetCell(m_row - 1, m_column - 1);
    CellContent content;
    cellvalues::ToValue(*m_lastCell, *content.value.Receive());
    ++m_column;
    return content;
}

std::string CWorkbookFileTableFile::DisplayedText() {
    if (!m_lastCell) return std::string();
    const std::wstring text = cellvalues::DisplayedText(*m_lastCell);
    return CBstr::ToAnsi(text.data(), static_cast<unsigned>(text.size()));
}

int CWorkbookFileTableFile::GetProgressPos() { return m_row; }

int CWorkbookFileTableFile::GetProgressMax() { return m_rowCount; }
