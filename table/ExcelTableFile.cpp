#include "ExcelTableFile.h"

#include "Bstr.h"
#include "CsvDialect.h"
#include "Exception.h"
#include "SpreadsheetMembers.h"

#include <windows.h>
#include <oleauto.h>

#include <climits>
#include <cmath>
#include <cstdlib>

using namespace spreadsheet;

namespace {

constexpr double kDaysFrom1899To1970 = 25569.0;
constexpr double kMinutesPerDay = 1440.0;

std::string TextOf(CVariant value) {
    if (value.Type() != VT_BSTR && FAILED(VariantChangeType(&value.Get(), &value.Get(), 0, VT_BSTR))) return {};
    return CBstr::ToAnsi(value.Get().bstrVal, SysStringLen(value.Get().bstrVal));
}

long IntegerOf(CVariant value) {
    const HRESULT status = VariantChangeType(&value.Get(), &value.Get(), 0, VT_I4);
    if (FAILED(status)) throw COleException(status);
    return value.Get().lVal;
}

bool IsNumericType(VARTYPE type) {
    switch (type) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL:
        return true;
    default:
        return false;
    }
}

// The value of a cell that holds a number of any kind (money included);
// false for texts, dates, empty cells and the rest.
bool NumberOf(const CVariant& value, double& number) {
    if (!IsNumericType(value.Type())) return false;
    if (value.Type() == VT_CY) {
        number = static_cast<double>(value.Get().cyVal.int64) / 10000.0;
        return true;
    }
    CVariant copy = CVariant::CopyOf(value.Get());
    if (FAILED(VariantChangeType(&copy.Get(), &copy.Get(), 0, VT_R8))) return false;
    number = copy.Get().dblVal;
    return std::isfinite(number);
}

int RoundedToInt(double number) {
    const double rounded = std::round(number);
    if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(rounded);
}

bool ParseLocaleDate(const std::string& text, DATE& date) {
    const CBstr wide = CBstr::FromAnsi(text);
    return SUCCEEDED(VarDateFromStr(wide.Get(), LANG_USER_DEFAULT, 0, &date));
}

// The date or time a cell holds: its typed date, else its text read by the
// locale's date parser.  0, -1 unreadable, -2 empty text (and no date).
int DateOfCell(const CVariant& value, const std::string& text, SYSTEMTIME& fields) {
    DATE date = 0;
    if (value.Type() == VT_DATE) {
        date = value.Get().date;
    } else {
        const std::string_view trimmed = csv::TrimWhiteSpace(text);
        if (trimmed.empty()) return -2;
        if (!ParseLocaleDate(std::string(trimmed), date)) return -1;
    }
    return VariantTimeToSystemTime(date, &fields) ? 0 : -1;
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

int CExcelTableFile::EndRow() {
    m_column = 1;
    ++m_row;
    return 0;
}

int CExcelTableFile::NextRow() {
    ++m_row;
    m_column = 1;
    return m_row <= m_rowCount ? 0 : -1;
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

int CExcelTableFile::WriteString(std::string text) {
    std::string cell;
    for (char c : text) {
        if (c == '\0') break;  // a text ends at its first zero byte
        if (c != '\r') cell += c;
    }
    // The apostrophe keeps a text a text: without it the application stores
    // whatever reads as a number, date or truth value as that ("2005", "-3",
    // but also "May 5" or "true"), and the cell no longer holds the text.  It
    // is not part of the cell's value or displayed text.
    if (!cell.empty()) cell.insert(cell.begin(), '\'');
    PutCellValue(CVariant::Text(cell));
    return 0;
}

int CExcelTableFile::WriteDate(CalendarTime value) {
    const LocalTimeFields f = ToLocalFields(value);
    const double days = static_cast<double>(localtime_detail::PlainSeconds({f.year, f.month, f.day, 0, 0, 0}) / 86400);
    PutCellValue(CVariant::Date(days + kDaysFrom1899To1970));
    return 0;
}

int CExcelTableFile::WriteTime(CalendarTime value) {
    const LocalTimeFields f = ToLocalFields(value);
    PutCellValue(CVariant::Date((f.hour * 60 + f.minute) / kMinutesPerDay));
    return 0;
}

int CExcelTableFile::WriteInt(int value) {
    PutCellValue(CVariant::Int32(value));
    return 0;
}

int CExcelTableFile::WriteNumber(double value, int) {
    PutCellValue(CVariant::Double(value));
    return 0;
}

int CExcelTableFile::WriteCurrency(double value) {
    // Rounded to the nearest ten-thousandth: a price of 116 hundredths
    // arrives as 116 x 0.01, just below 1.16, and must stay 1.16.
    const double scaled = std::round(value * 10000.0);
    if (!(std::fabs(scaled) < 9.2e18)) throw COleException(DISP_E_OVERFLOW);
    CY amount;
    amount.int64 = static_cast<LONGLONG>(scaled);
    PutCellValue(CVariant::Currency(amount));
    return 0;
}

int CExcelTableFile::ReadString(std::string& out) {
    out = GetCellValue().text;
    return 0;
}

int CExcelTableFile::ReadDate(CalendarTime& out) {
    const CellContent cell = GetCellValue();
    SYSTEMTIME parsed;
    if (const int result = DateOfCell(cell.value, cell.text, parsed); result != 0) return result;
    // No lower bound: a workbook's date is a real day whatever its year.
    return WindowedLocalMidnight(parsed.wYear, parsed.wMonth, parsed.wDay, 0, out);
}

int CExcelTableFile::ReadTime(CalendarTime& out) {
    const CellContent cell = GetCellValue();
    if (csv::TrimWhiteSpace(cell.text).empty()) return -2;
    SYSTEMTIME parsed;
    if (DateOfCell(cell.value, cell.text, parsed) != 0) return -1;
    out = TodayAt(parsed.wHour, parsed.wMinute);
    return 0;
}

int CExcelTableFile::ReadInt(int& out) {
    // The typed value when the cell holds a number: its text may show digit
    // grouping ("1,234") or a currency sign.
    const CellContent cell = GetCellValue();
    double number = 0.0;
    out = NumberOf(cell.value, number) ? RoundedToInt(number) : csv::ParseCsvInt(cell.text);
    return 0;
}

int CExcelTableFile::ReadDouble(double& out) {
    const CellContent cell = GetCellValue();
    double number = 0.0;
    out = NumberOf(cell.value, number) ? number : csv::ParseCsvDouble(cell.text);
    return 0;
}

int CExcelTableFile::ReadCurrency(double& out) {
    const CellContent cell = GetCellValue();
    double number = 0.0;
    if (NumberOf(cell.value, number)) {
        out = number;
        return 0;
    }
    CY amount;
    if (cell.value.Type() == VT_DATE) {
        CVariant converted = CVariant::CopyOf(cell.value.Get());
        if (FAILED(VariantChangeType(&converted.Get(), &converted.Get(), 0, VT_CY))) return -1;
        amount = converted.Get().cyVal;
    } else {
        const CBstr wide = CBstr::FromAnsi(cell.text);
        if (FAILED(VarCyFromStr(wide.Get(), LANG_USER_DEFAULT, 0, &amount))) return -1;
    }
    // The whole 64-bit amount of ten-thousandths.
    out = static_cast<double>(amount.int64) / 10000.0;
    return 0;
}

int CExcelTableFile::ReadNumberCell(double& out) {
    const CellContent cell = GetCellValue();
    double number = 0.0;
    if (NumberOf(cell.value, number)) {
        out = number;
        return 0;
    }
    return csv::ParseNumberCell(cell.text, out);
}

int CExcelTableFile::GetProgressPos() { return m_row; }

int CExcelTableFile::GetProgressMax() { return m_rowCount; }
