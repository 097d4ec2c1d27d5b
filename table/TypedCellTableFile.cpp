#include "TypedCellTableFile.h"

#include "Bstr.h"
#include "CsvDialect.h"
#include "Exception.h"

#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kDaysFrom1899To1970 = 25569.0;
constexpr double kMinutesPerDay = 1440.0;

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

const std::string& CTypedCellTableFile::ShownText(CellContent& cell) {
    if (!cell.text) cell.text = DisplayedText();
    return *cell.text;
}

std::string CTypedCellTableFile::CellText(std::string text) {
    const std::string::size_type zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);  // a text ends at its first zero byte
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

double CTypedCellTableFile::DateValue(CalendarTime value) {
    const LocalTimeFields f = ToLocalFields(value);
    const double days = static_cast<double>(localtime_detail::PlainSeconds({f.year, f.month, f.day, 0, 0, 0}) / 86400);
    return days + kDaysFrom1899To1970;
}

double CTypedCellTableFile::TimeValue(CalendarTime value) {
    const LocalTimeFields f = ToLocalFields(value);
    return (f.hour * 60 + f.minute) / kMinutesPerDay;
}

std::int64_t CTypedCellTableFile::CurrencyAmount(double value) {
    // Rounded to the nearest ten-thousandth: a price of 116 hundredths
    // arrives as 116 x 0.01, just below 1.16, and must stay 1.16.
    const double scaled = std::round(value * 10000.0);
    if (!(std::fabs(scaled) < 9.2e18)) {
        ClearRowSoFar();
        throw COleException(DISP_E_OVERFLOW);
    }
    return static_cast<std::int64_t>(scaled);
}

int CTypedCellTableFile::WriteString(std::string_view text) {
    std::string cell = CellText(std::string(text));
    // The apostrophe keeps a text a text: without it the application stores
    // whatever reads as a number, date or truth value as that ("2005", "-3",
    // but also "May 5" or "true"), and the cell no longer holds the text.  It
    // is not part of the cell's value or displayed text.
    if (!cell.empty()) cell.insert(cell.begin(), '\'');
    PutCellValue(CVariant::Text(cell));
    return 0;
}

int CTypedCellTableFile::WriteDate(CalendarTime value) {
    PutCellValue(CVariant::Date(DateValue(value)));
    return 0;
}

int CTypedCellTableFile::WriteTime(CalendarTime value) {
    PutCellValue(CVariant::Date(TimeValue(value)));
    return 0;
}

int CTypedCellTableFile::WriteInt(int value) {
    PutCellValue(CVariant::Int32(value));
    return 0;
}

int CTypedCellTableFile::WriteNumber(double value, int) {
    PutCellValue(CVariant::Double(value));
    return 0;
}

int CTypedCellTableFile::WriteCurrency(double value) {
    CY amount;
    amount.int64 = CurrencyAmount(value);
    PutCellValue(CVariant::Currency(amount));
    return 0;
}

int CTypedCellTableFile::ReadString(std::string& out) {
    CellContent cell = GetCellValue();
    out = ShownText(cell);
    return 0;
}

int CTypedCellTableFile::ReadDate(CalendarTime& out) {
    CellContent cell = GetCellValue();
    SYSTEMTIME parsed;
    const std::string text = cell.value.Type() == VT_DATE ? std::string() : ShownText(cell);
    if (const int result = DateOfCell(cell.value, text, parsed); result != 0) return result;
    // No lower bound: a workbook's date is a real day whatever its year.
    return WindowedLocalMidnight(parsed.wYear, parsed.wMonth, parsed.wDay, 0, out);
}

int CTypedCellTableFile::ReadTime(CalendarTime& out) {
    CellContent cell = GetCellValue();
    if (csv::TrimWhiteSpace(ShownText(cell)).empty()) return -2;
    SYSTEMTIME parsed;
    if (DateOfCell(cell.value, *cell.text, parsed) != 0) return -1;
    out = TodayAt(parsed.wHour, parsed.wMinute);
    return 0;
}

int CTypedCellTableFile::ReadInt(int& out) {
    // The typed value when the cell holds a number: its text may show digit
    // grouping ("1,234") or a currency sign.
    CellContent cell = GetCellValue();
    double number = 0.0;
    out = NumberOf(cell.value, number) ? RoundedToInt(number) : csv::ParseCsvInt(ShownText(cell));
    return 0;
}

int CTypedCellTableFile::ReadDouble(double& out) {
    CellContent cell = GetCellValue();
    double number = 0.0;
    out = NumberOf(cell.value, number) ? number : csv::ParseCsvDouble(ShownText(cell));
    return 0;
}

int CTypedCellTableFile::ReadCurrency(double& out) {
    CellContent cell = GetCellValue();
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
        const CBstr wide = CBstr::FromAnsi(ShownText(cell));
        if (FAILED(VarCyFromStr(wide.Get(), LANG_USER_DEFAULT, 0, &amount))) return -1;
    }
    // The whole 64-bit amount of ten-thousandths.
    out = static_cast<double>(amount.int64) / 10000.0;
    return 0;
}

int CTypedCellTableFile::ReadNumberCell(double& out) {
    CellContent cell = GetCellValue();
    double number = 0.0;
    if (NumberOf(cell.value, number)) {
        out = number;
        return 0;
    }
    return csv::ParseNumberCell(ShownText(cell), out);
}

int CTypedCellTableFile::EndRow() {
    m_column = 1;
    ++m_row;
    return 0;
}

int CTypedCellTableFile::NextRow() {
    ++m_row;
    m_column = 1;
    return m_row <= m_rowCount ? 0 : -1;
}

int CTypedCellTableFile::GetProgressPos() { return m_row; }

int CTypedCellTableFile::GetProgressMax() { return m_rowCount; }
