#include "CellValues.h"

#include "Bstr.h"
#include "Variant.h"

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace cellvalues {
namespace {

using workbook::Cell;
using workbook::CellKind;

// A cell error value reaches automation as VT_ERROR with this base plus the
// error's code (#DIV/0! = 7 gives 2007, the application's own numbering).
constexpr SCODE kErrorValueBase = static_cast<SCODE>(0x800A07D0);

struct ErrorName {
    int code;
    const wchar_t* name;
};
constexpr ErrorName kErrorNames[] = {{0x00, L"#NULL!"}, {0x07, L"#DIV/0!"}, {0x0F, L"#VALUE!"}, {0x17, L"#REF!"},
                                     {0x1D, L"#NAME?"}, {0x24, L"#NUM!"},   {0x2A, L"#N/A"}};

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

Cell Make(CellKind kind, double number) {
    Cell cell;
    cell.kind = kind;
    cell.number = number;
    return cell;
}

Cell FromText(const std::wstring& text) {
    if (text.empty()) return Cell();
    if (text[0] == L'\'') {
        Cell cell;
        cell.kind = CellKind::Text;
        cell.text = ToU16(text.substr(1));
        return cell;
    }
    // The parsers take a writable string.
    std::wstring entry = text;
    DATE date = 0;
    // A text written with the locale's date separator is a date when it reads
    // as one, also where that separator doubles as the digit grouping
    // ("31.12.2005" in German is a date, not 31,122,005).
    wchar_t dateSeparator[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, dateSeparator, 8);
    if (dateSeparator[0] && text.find(dateSeparator) != std::wstring::npos &&
        SUCCEEDED(VarDateFromStr(&entry[0], LOCALE_USER_DEFAULT, 0, &date)))
        return Make(CellKind::Date, date);
    double number = 0;
    if (SUCCEEDED(VarR8FromStr(&entry[0], LOCALE_USER_DEFAULT, 0, &number))) return Make(CellKind::Number, number);
    if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), -1, L"TRUE", -1) == CSTR_EQUAL)
        return Make(CellKind::Boolean, 1);
    if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), -1, L"FALSE", -1) == CSTR_EQUAL)
        return Make(CellKind::Boolean, 0);
    if (SUCCEEDED(VarDateFromStr(&entry[0], LOCALE_USER_DEFAULT, 0, &date))) return Make(CellKind::Date, date);
    Cell cell;
    cell.kind = CellKind::Text;
    cell.text = ToU16(text);
    return cell;
}

bool IsNumber(VARTYPE type) {
    switch (type) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_DECIMAL:
        return true;
    default:
        return false;
    }
}

std::wstring Widened(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide += static_cast<wchar_t>(*text);
    return wide;
}

std::wstring GeneralNumber(double number) {
    BSTR text = nullptr;
    if (FAILED(VarBstrFromR8(number, LOCALE_USER_DEFAULT, 0, &text))) return std::wstring();
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

std::wstring Money(double amount) {
    // The locale function takes the amount spelled with "." and digits.
    char plain[64];
    std::snprintf(plain, sizeof plain, "%.2f", amount);
    const std::wstring number = Widened(plain);
    wchar_t shown[128];
    if (GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, number.c_str(), nullptr, shown, 128) <= 0) return number;
    return shown;
}

std::wstring DateAndTime(double serial) {
    SYSTEMTIME fields;
    if (!VariantTimeToSystemTime(serial, &fields)) return GeneralNumber(serial);
    wchar_t date[128] = L"", time[128] = L"";
    const bool hasDay = serial >= 1.0;
    const bool hasTime = serial != std::floor(serial);
    if (hasDay) GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &fields, nullptr, date, 128);
    if (hasTime || !hasDay) GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &fields, nullptr, time, 128);
    if (hasDay && (hasTime)) return std::wstring(date) + L" " + time;
    return hasDay ? date : time;
}

// Windows-1252 both ways, from the system's own conversion: every byte's
// character, and the byte of every character that converts back to it.
struct CodePage1252 {
    char16_t wide[256];
    std::vector<std::int16_t> narrow = std::vector<std::int16_t>(0x10000, -1);

    CodePage1252() {
        for (int byte = 0; byte < 256; ++byte) {
            const char in = static_cast<char>(byte);
            wchar_t out = 0;
            if (MultiByteToWideChar(1252, 0, &in, 1, &out, 1) != 1) out = static_cast<wchar_t>(byte);
            wide[byte] = static_cast<char16_t>(out);
            char back = 0;
            if (WideCharToMultiByte(1252, 0, &out, 1, &back, 1, nullptr, nullptr) == 1 &&
                static_cast<unsigned char>(back) == byte && narrow[out] < 0)
                narrow[out] = static_cast<std::int16_t>(byte);
        }
    }
};

const CodePage1252& Windows1252() {
    static const CodePage1252 table;
    return table;
}

}  // namespace

void TextFromAnsi(std::string_view text, std::u16string& out) {
    const CodePage1252& table = Windows1252();
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = table.wide[static_cast<unsigned char>(text[i])];
}

std::string AnsiFromText(std::u16string_view text) {
    const CodePage1252& table = Windows1252();
    std::string narrow(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::int16_t byte = table.narrow[text[i]];
        if (byte < 0) {
            // A character Windows-1252 lacks: the system's best fit.
            const std::wstring all(text.begin(), text.end());
            return CBstr::ToAnsi(all.data(), static_cast<unsigned>(all.size()));
        }
        narrow[i] = static_cast<char>(byte);
    }
    return narrow;
}

bool FromValue(const VARIANT& value, workbook::Cell& cell) {
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        cell = Cell();
        return true;
    case VT_BSTR: {
        const wchar_t* text = value.bstrVal;
        const UINT length = SysStringLen(value.bstrVal);
        if (length > 0 && text[0] == L'\'') {
            // Taken as it is, without a copy of its own: an export puts every
            // text this way.
            cell = Cell();
            cell.kind = CellKind::Text;
            cell.text.assign(text + 1, text + length);
        } else {
            cell = FromText(std::wstring(text, length));
        }
        return true;
    }
    case VT_R8:
        cell = Make(CellKind::Number, value.dblVal);
        return true;
    case VT_I4:
        cell = Make(CellKind::Number, value.lVal);
        return true;
    case VT_CY:
        cell = Make(CellKind::Money, static_cast<double>(value.cyVal.int64) / 10000.0);
        return true;
    case VT_DATE:
        cell = Make(CellKind::Date, value.date);
        return true;
    case VT_BOOL:
        cell = Make(CellKind::Boolean, value.boolVal != VARIANT_FALSE ? 1 : 0);
        return true;
    case VT_ERROR:
        cell = Make(CellKind::Error, value.scode - kErrorValueBase);
        return true;
    default:
        break;
    }
    if (!IsNumber(value.vt)) return false;
    CVariant number = CVariant::CopyOf(value);
    if (FAILED(VariantChangeType(&number.Get(), &number.Get(), 0, VT_R8))) return false;
    cell = Make(CellKind::Number, number.Get().dblVal);
    return true;
}

namespace {

// Why the sheet refuses a cell at the 0-based row and column, of a text of
// that length (if a text); empty when it may take it.
std::wstring Refusal(int row, int column, std::size_t textLength) {
    using workbook::Sheet;
    if (row < 0 || row >= Sheet::kMaxRows || column < 0 || column >= Sheet::kMaxColumns)
        return L"Cell (" + std::to_wstring(row + 1) + L", " + std::to_wstring(column + 1) +
               L") lies outside the worksheet of 65,536 rows and 256 columns.";
    if (textLength > Sheet::kMaxTextLength) return L"Text values are limited to 32,767 characters per cell.";
    return std::wstring();
}

const wchar_t kOutOfRange[] = L"The value is out of the range a cell holds.";

}  // namespace

std::wstring StoreCell(workbook::Sheet& sheet, int row, int column, const workbook::Cell& cell) {
    std::wstring refusal = Refusal(row, column, cell.kind == CellKind::Text ? cell.text.size() : 0);
    if (refusal.empty() && !sheet.SetCell(row, column, cell)) refusal = kOutOfRange;
    return refusal;
}

std::wstring StoreText(workbook::Sheet& sheet, int row, int column, std::u16string_view text) {
    std::wstring refusal = Refusal(row, column, text.size());
    if (refusal.empty() && !sheet.SetText(row, column, text)) refusal = kOutOfRange;
    return refusal;
}

void ToValue(const workbook::Cell& cell, VARIANT& value) {
    VariantInit(&value);
    switch (cell.kind) {
    case CellKind::Empty:
        return;
    case CellKind::Number:
        value.vt = VT_R8;
        value.dblVal = cell.number;
        return;
    case CellKind::Money:
        value.vt = VT_CY;
        if (FAILED(VarCyFromR8(cell.number, &value.cyVal))) {
            // Beyond what money holds: the plain number then.
            value.vt = VT_R8;
            value.dblVal = cell.number;
        }
        return;
    case CellKind::Date:
        value.vt = VT_DATE;
        value.date = cell.number;
        return;
    case CellKind::Text: {
        value.vt = VT_BSTR;
        const std::wstring text(cell.text.begin(), cell.text.end());
        value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return;
    }
    case CellKind::Boolean:
        value.vt = VT_BOOL;
        value.boolVal = cell.number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case CellKind::Error:
        value.vt = VT_ERROR;
        value.scode = kErrorValueBase + static_cast<SCODE>(cell.number);
        return;
    }
}

std::wstring DisplayedText(const workbook::Cell& cell) {
    switch (cell.kind) {
    case CellKind::Empty:
        return std::wstring();
    case CellKind::Number:
        return GeneralNumber(cell.number);
    case CellKind::Money:
        return Money(cell.number);
    case CellKind::Date:
        return DateAndTime(cell.number);
    case CellKind::Text:
        return std::wstring(cell.text.begin(), cell.text.end());
    case CellKind::Boolean:
        return cell.number != 0 ? L"TRUE" : L"FALSE";
    case CellKind::Error:
        for (const ErrorName& error : kErrorNames)
            if (error.code == static_cast<int>(cell.number)) return error.name;
        return L"#VALUE!";
    }
    return std::wstring();
}

}  // namespace cellvalues
