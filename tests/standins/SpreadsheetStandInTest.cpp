// The spreadsheet stand-in as the program reaches it: started by its ProgID
// and driven by DISPID, through the program's own automation driver.
#include "AutomationObject.h"
#include "Bstr.h"
#include "Exception.h"
#include "ExcelTableFile.h"
#include "SpreadsheetMembers.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

using namespace spreadsheet;

namespace {

std::string TempPath(const std::string& name) { return testing::TempDir() + "standin-" + name; }

std::string LocaleInfo(LCTYPE type) {
    char buffer[16] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return buffer;
}

class SpreadsheetStandIn : public testing::Test {
protected:
    SpreadsheetStandIn() { EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    ~SpreadsheetStandIn() override {
        application.Reset();
        OleUninitialize();
    }
    void SetUp() override {
        HRESULT status = S_OK;
        application = CAutomationObject::Start(L"Excel.Application", status);
        if (!application) GTEST_SKIP() << "no spreadsheet application registered in this prefix";
    }

    CAutomationObject NewSheet(CAutomationObject& book) {
        book = application.GetObject(kWorkbooks).CallForObject(kAdd);
        return book.GetObject(kSheets).GetObject(kDefault, MakeArguments(CVariant::Int32(1)));
    }
    static CAutomationObject Cell(const CAutomationObject& sheet, long row, long column) {
        return CAutomationObject::FromValue(
            sheet.GetObject(kCells).Get(kDefault, MakeArguments(CVariant::Int32(row), CVariant::Int32(column))));
    }
    static std::string TextOf(const CAutomationObject& cell) {
        CVariant text = cell.Get(kText);
        return CBstr::ToAnsi(text.Get().bstrVal, SysStringLen(text.Get().bstrVal));
    }

    CAutomationObject application;
};

}  // namespace

// What a user typing into the application would see: texts that read as
// numbers, truth values or dates become them unless an apostrophe leads.
TEST_F(SpreadsheetStandIn, TextsPutWithoutAnApostropheBecomeWhatTheyReadAs) {
    const std::string decimal = LocaleInfo(LOCALE_SDECIMAL);
    struct Case {
        std::string put;
        VARTYPE type;
        double number;  // for numbers, dates and truth values
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"2005", VT_R8, 2005, "2005"},
        {"-3", VT_R8, -3, "-3"},
        {"12" + decimal + "5", VT_R8, 12.5, "12" + decimal + "5"},
        {"true", VT_BOOL, -1, "TRUE"},
        {LocaleDate(2005, 12, 31), VT_DATE, 38717, LocaleDate(2005, 12, 31)},
        {"'2005", VT_BSTR, 0, "2005"},
        {"'", VT_BSTR, 0, ""},
        {"Fuel \x80", VT_BSTR, 0, "Fuel \x80"},
        {"", VT_EMPTY, 0, ""},
    };
    CAutomationObject book;
    const CAutomationObject sheet = NewSheet(book);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const CAutomationObject cell = Cell(sheet, static_cast<long>(i) + 1, 1);
        cell.Put(kValue, CVariant::Text(c.put));
        CVariant value = cell.Get(kValue);
        EXPECT_EQ(value.Type(), c.type) << c.put;
        if (c.type == VT_R8) {
            EXPECT_EQ(value.Get().dblVal, c.number) << c.put;
        } else if (c.type == VT_DATE) {
            EXPECT_EQ(value.Get().date, c.number) << c.put;
        } else if (c.type == VT_BOOL) {
            EXPECT_EQ(value.Get().boolVal, VARIANT_TRUE) << c.put;
        }
        EXPECT_EQ(TextOf(cell), c.shown) << c.put;
    }
}

TEST_F(SpreadsheetStandIn, TypedValuesComeBackTypedAndShownInTheLocalesWay) {
    CAutomationObject book;
    const CAutomationObject sheet = NewSheet(book);
    CY amount;
    amount.int64 = 12345000;  // 1234.5
    Cell(sheet, 1, 1).Put(kValue, CVariant::Currency(amount));
    Cell(sheet, 1, 2).Put(kValue, CVariant::Date((14 * 60 + 35) / 1440.0));
    Cell(sheet, 1, 3).Put(kValue, CVariant::Int32(7));

    CVariant money = Cell(sheet, 1, 1).Get(kValue);
    ASSERT_EQ(money.Type(), VT_CY);
    EXPECT_EQ(money.Get().cyVal.int64, 12345000);
    const std::string shownMoney = TextOf(Cell(sheet, 1, 1));
    EXPECT_NE(shownMoney.find(LocaleInfo(LOCALE_SMONDECIMALSEP) + "50"), std::string::npos) << shownMoney;
    EXPECT_NE(shownMoney.find(LocaleInfo(LOCALE_SCURRENCY)), std::string::npos) << shownMoney;
    EXPECT_EQ(Cell(sheet, 1, 2).Get(kValue).Type(), VT_DATE);
    EXPECT_EQ(TextOf(Cell(sheet, 1, 2)), LocaleTime(14, 35));
    EXPECT_EQ(Cell(sheet, 1, 3).Get(kValue).Type(), VT_R8);
    EXPECT_EQ(Cell(sheet, 1, 4).Get(kValue).Type(), VT_EMPTY);

    // The used range covers the filled cells, wherever they are.
    Cell(sheet, 1, 1).Put(kValue, CVariant());
    Cell(sheet, 1, 2).Put(kValue, CVariant());
    Cell(sheet, 1, 3).Put(kValue, CVariant());
    Cell(sheet, 3, 2).Put(kValue, CVariant::Text("b3"));
    Cell(sheet, 7, 4).Put(kValue, CVariant::Text("d7"));
    const CAutomationObject used = sheet.GetObject(kUsedRange);
    EXPECT_EQ(used.Get(kRow).Get().lVal, 3);
    EXPECT_EQ(used.GetObject(kRows).Get(kCount).Get().lVal, 5);
    EXPECT_EQ(used.Get(kCount).Get().lVal, 15);
}

TEST_F(SpreadsheetStandIn, RefusedCallsRaiseAndLeaveTheWorkbookAsItWas) {
    CAutomationObject book;
    const CAutomationObject sheet = NewSheet(book);
    const std::string path = TempPath("formats.xls");
    DeleteFileA(path.c_str());
    EXPECT_THROW(book.Call(kSave), COleDispatchException) << "no file name yet";
    // Only the 97-2003 workbook is written (the newer default, 51, is not).
    EXPECT_THROW(book.Call(kSaveAs, MakeArguments(CVariant::Text(path), CVariant::Int32(51))), COleDispatchException);
    EXPECT_THROW(Cell(sheet, 65537, 1), COleDispatchException);
    EXPECT_THROW(Cell(sheet, 1, 257), COleDispatchException);
    EXPECT_THROW(Cell(sheet, 1, 1).Put(kValue, CVariant::Text(std::string(32768, 'x'))), COleDispatchException);
    CVariant unknown;
    unknown.Get().vt = VT_UNKNOWN;
    unknown.Get().punkVal = nullptr;
    try {
        Cell(sheet, 1, 1).Put(kValue, std::move(unknown));
        ADD_FAILURE() << "no exception";
    } catch (const COleException& error) {
        EXPECT_EQ(error.GetStatus(), DISP_E_TYPEMISMATCH);
    }
    EXPECT_EQ(Cell(sheet, 1, 1).Get(kValue).Type(), VT_EMPTY);

    Cell(sheet, 1, 1).Put(kValue, CVariant::Int32(1));
    book.Call(kSaveAs, MakeArguments(CVariant::Text(path), CVariant::Int32(kWorkbook97Format)));
    Cell(sheet, 1, 1).Put(kValue, CVariant::Int32(2));
    // Closing without saving keeps the file as saved; the sheet is gone.
    book.Call(kClose, MakeArguments(CVariant::Bool(false)));
    EXPECT_THROW(Cell(sheet, 1, 1), COleDispatchException);
    const CAutomationObject reopened =
        application.GetObject(kWorkbooks).CallForObject(kOpen, MakeArguments(CVariant::Text(path)));
    const CAutomationObject again = reopened.GetObject(kSheets).GetObject(kDefault, MakeArguments(CVariant::Int32(1)));
    EXPECT_EQ(Cell(again, 1, 1).Get(kValue).Get().dblVal, 1.0);
    // Quitting closes what is open.
    application.Call(kQuit);
    EXPECT_THROW(Cell(again, 1, 1), COleDispatchException);
}

// Every reference the workbook table file takes goes back: once the table
// file is gone, the server holds no object and may be unloaded.
TEST_F(SpreadsheetStandIn, TheWorkbookTableFileGivesBackEveryReference) {
    application.Reset();
    const HMODULE server = GetModuleHandleA("RtSpreadsheet.dll");
    ASSERT_TRUE(server);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    const auto canUnloadNow = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
    ASSERT_TRUE(canUnloadNow);
    EXPECT_EQ(canUnloadNow(), S_OK);
    const std::string path = TempPath("references.xls");
    DeleteFileA(path.c_str());
    {
        CExcelTableFile table;
        table.OpenForWrite(path);
        table.WriteString("Date");
        table.WriteCurrency(1.5);
        table.EndRow();
        table.WriteDate(0);
        table.FinishWrite();
        EXPECT_EQ(canUnloadNow(), S_FALSE) << "the application is still held";
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
    {
        CExcelTableFile table;
        table.OpenForRead(path);
        std::string text;
        double amount = 0;
        table.ReadString(text);
        table.ReadCurrency(amount);
        table.NextRow();
        CalendarTime date;
        table.ReadDate(date);
        table.Close();
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
}
