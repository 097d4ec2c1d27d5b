#include "ExcelTableFile.h"

#include "Bstr.h"
#include "Exception.h"
#include "SpreadsheetMembers.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdlib>

using namespace spreadsheet;

namespace {

std::string TextOf(CVariant value) {
    if (value.Type() != VT_BSTR && FAILED(VariantChangeType(&value.Get(), &value.Get(), 0, VT_BSTR))) return {};
    return CBstr::ToAnsi(value.Get().bstrVal, SysStringLen(value.Get().bstrVal));
}

long IntegerOf(CVariant value) {
    const HRESULT status = VariantChangeType(&value.Get(), &value.Get(), 0, VT_I4);
    if (FAILED(status)) throw COleException(status);
    return value.Get().lVal;
}

}  // namespace

CExcelTableFile::CExcelTableFile() {
    HRESULT status = S_OK;
    m_application = CAutomationObject::Start(L"Excel.Application", status);
    if (!m_application) {
        m_startFailed = 1;
        m_startStatus = status;
    }
}

CExcelTableFile::~CExcelTableFile() {
    // A workbook left open on a path that ended early (an abandoned import, a
    // failed save, an error raised while reading) would stay open in the
    // application, its file locked, maybe behind a prompt nobody sees.
    if (m_workbookOpen) {
        try {
            Close();
        } catch (const CException&) {
            // The application no longer answers: nothing more to do for it.
        }
    }
    m_application.Reset();
    m_worksheet.Reset();
    m_workbook.Reset();
}

void CExcelTableFile::RequireApplication() const {
    if (m_startFailed) throw COleException(m_startStatus);
}

void CExcelTableFile::TakeFirstSheet() {
    m_worksheet = m_workbook.GetObject(kSheets).GetObject(kDefault, MakeArguments(CVariant::Int32(1)));
    m_row = 1;
    m_column = 1;
}

bool CExcelTableFile::KnowsWorkbook97Format() const {
    // Applications before version 12 know no file formats by number; their
    // default is the 97-2003 workbook anyway.
    try {
        return std::atoi(TextOf(m_application.Get(kVersion)).c_str()) >= kFirstVersionWithFileFormats;
    } catch (const CException&) {
        return false;
    }
}

int CExcelTableFile::OpenForWrite(std::string fileName) {
    RequireApplication();
    m_workbook = m_application.GetObject(kWorkbooks).CallForObject(kAdd);
    m_workbookOpen = true;
    TakeFirstSheet();
    // Saved at once, so the file exists from now on; in the 97-2003 format the
    // ".xls" name promises, not the newer default of later versions.
    std::vector<CVariant> arguments = MakeArguments(CVariant::FileName(fileName));
    if (KnowsWorkbook97Format()) arguments.push_back(CVariant::Int32(kWorkbook97Format));
    m_workbook.Call(kSaveAs, std::move(arguments));
    return 0;
}

int CExcelTableFile::OpenForRead(std::string fileName) {
    RequireApplication();
    m_workbook = m_application.GetObject(kWorkbooks).CallForObject(kOpen, MakeArguments(CVariant::FileName(fileName)));
    m_workbookOpen = true;
    TakeFirstSheet();
    // The used range may begin below row 1; rows are counted from row 1, as
    // NextRow compares with the absolute row index.
    const CAutomationObject used = m_worksheet.GetObject(kUsedRange);
    m_rowCount = static_cast<int>(IntegerOf(used.Get(kRow)) + IntegerOf(used.GetObject(kRows).Get(kCount)) - 1);
    return 0;
}

int CExcelTableFile::FinishWrite() {
    m_workbook.Call(kSave);
    return Close();
}

int CExcelTableFile::Close() {
    // Without saving: a workbook the application marks as changed on opening
    // would otherwise ask "save changes?" in a window nobody sees, and hang.
    m_workbookOpen = false;
    m_workbook.Call(kClose, MakeArguments(CVariant::Bool(false)));
    return 0;
}

CAutomationObject CExcelTableFile::CurrentCell() const {
    return CAutomationObject::FromValue(
        m_worksheet.GetObject(kCells).Get(kDefault, MakeArguments(CVariant::Int32(m_row), CVariant::Int32(m_column))));
}

void CExcelTableFile::PutCellValue(CVariant value) {
    try {
        CurrentCell().Put(kValue, std::move(value));
    } catch (const CException&) {
        // Each cell is a call of its own: a row that fails part-way must not
        // be saved half written, where it would read back as a good row
        // short of its later cells.
        ClearRowSoFar();
        throw;
    }
    ++m_column;
}

void CExcelTableFile::ClearRowSoFar() {
    for (m_column = m_column - 1; m_column >= 1; --m_column) {
        try {
            CurrentCell().Put(kValue, CVariant());
        } catch (const CException&) {
            // The row's first error is the one to tell.
        }
    }
    m_column = 1;
}

CExcelTableFile::CellContent CExcelTableFile::GetCellValue() {
    const CAutomationObject cell = CurrentCell();
    CellContent content;
    content.value = cell.Get(kValue);
    content.text = TextOf(cell.Get(kText));
    ++m_column;
    return content;
}

