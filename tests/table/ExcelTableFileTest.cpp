// The two workbook table files side by side, with the same expected cells:
// the one through real automation calls into the spreadsheet stand-in (when
// the test prefix has it registered) and the program's own.  The files they
// leave are checked with the workbook codec, independently of the stand-in's
// and the table files' own reading.
#include "Bstr.h"
#include "CsvTableFile.h"
#include "Exception.h"
#include "ExcelTableFile.h"
#include "WorkbookFileTableFile.h"
#include "TestFiles.h"
#include "Workbook.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using workbook::Cell;
using workbook::CellKind;

bool SpreadsheetRegistered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}

std::string TempPath(const std::string& name) { return testing::TempDir() + "workbook-" + name; }

CalendarTime Day(int year, int month, int day) { return FromLocalFields({year, month, day, 0, 0, 0}); }

Cell Typed(CellKind kind, double number) {
    Cell cell;
    cell.kind = kind;
    cell.number = number;
    return cell;
}

Cell Text(const std::u16string& text) {
    Cell cell;
    cell.kind = CellKind::Text;
    cell.text = text;
    return cell;
}

workbook::Sheet ReadSheet(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    workbook::Sheet sheet;
    std::string error;
    EXPECT_TRUE(workbook::ReadWorkbook(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), sheet, error))
        << error;
    return sheet;
}

void WriteSheet(const std::string& path, const workbook::Sheet& sheet) {
    const std::vector<std::uint8_t> bytes = workbook::WriteWorkbook(sheet);
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

std::string Describe(const Cell& cell) {
    std::string text(cell.text.begin(), cell.text.end());
    return std::to_string(static_cast<int>(cell.kind)) + ":" + std::to_string(cell.number) + ":" + text;
}

class OleSession : public testing::Test {
protected:
    OleSession() { EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    ~OleSession() override { OleUninitialize(); }
};

class AutomationWorkbook : public OleSession {
protected:
    void SetUp() override {
        if (!SpreadsheetRegistered()) GTEST_SKIP() << "no spreadsheet application registered in this prefix";
    }
};

enum class Kind { Automation, BuiltIn };

class WorkbookTableFile : public OleSession, public testing::WithParamInterface<Kind> {
protected:
    void SetUp() override {
        if (GetParam() == Kind::Automation && !SpreadsheetRegistered())
            GTEST_SKIP() << "no spreadsheet application registered in this prefix";
    }
    // A new table file of the kind, living as long as the test.
    CTableFile& Make() {
        if (GetParam() == Kind::Automation) return *m_tables.emplace_back(std::make_unique<CExcelTableFile>());
        return *m_tables.emplace_back(std::make_unique<CWorkbookFileTableFile>());
    }

private:
    std::vector<std::unique_ptr<CTableFile>> m_tables;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(BothKinds, WorkbookTableFile, testing::Values(Kind::Automation, Kind::BuiltIn),
                         [](const auto& kind) { return kind.param == Kind::Automation ? "Automation" : "BuiltIn"; });

TEST_F(OleSession, WithoutTheApplicationEveryOperationFailsWithTheReason) {
    if (SpreadsheetRegistered()) GTEST_SKIP() << "a spreadsheet application is registered in this prefix";
    CExcelTableFile table;
    EXPECT_EQ(table.StartFailed(), 1);
    for (const auto& operation : std::vector<std::function<void()>>{
             [&] { table.OpenForWrite(TempPath("never.xls")); }, [&] { table.OpenForRead(TempPath("never.xls")); },
             [&] { table.WriteString("x"); }, [&] { table.FinishWrite(); }, [&] { table.Close(); }}) {
        try {
            operation();
            ADD_FAILURE() << "no exception";
        } catch (const COleException& error) {
            EXPECT_FALSE(error.GetErrorMessage().empty());
        }
    }
    EXPECT_FALSE(FileExists(TempPath("never.xls")));
}

// Each write stores one typed cell, in one row from column 1 on.
TEST_P(WorkbookTableFile, WritesStoreTypedCells) {
    struct Case {
        const char* what;
        std::function<void(CTableFile&)> write;
        Cell stored;
    };
    const std::vector<Case> cases = {
        {"a text beginning with a letter", [](CTableFile& t) { t.WriteString("Date"); }, Text(u"Date")},
        {"digits stay a text", [](CTableFile& t) { t.WriteString("2005"); }, Text(u"2005")},
        {"a sign stays a text", [](CTableFile& t) { t.WriteString("-3"); }, Text(u"-3")},
        {"punctuation stays a text", [](CTableFile& t) { t.WriteString("(l)"); }, Text(u"(l)")},
        {"an empty text leaves the cell empty", [](CTableFile& t) { t.WriteString(""); }, Cell()},
        {"CR LF keeps the LF only", [](CTableFile& t) { t.WriteString("one\r\ntwo"); }, Text(u"one\ntwo")},
        {"a truth value stays a text", [](CTableFile& t) { t.WriteString("true"); }, Text(u"true")},
        {"Windows-1252 letters and the euro sign", [](CTableFile& t) { t.WriteString("\x80 5 caf\xe9"); },
         Text(u"\u20ac 5 caf\u00e9")},
        {"one decimal", [](CTableFile& t) { t.WriteNumber(12.345, 1); }, Typed(CellKind::Number, 12.345)},
        {"three decimals, the same value", [](CTableFile& t) { t.WriteNumber(12.345, 3); },
         Typed(CellKind::Number, 12.345)},
        {"an integer", [](CTableFile& t) { t.WriteInt(-7); }, Typed(CellKind::Number, -7)},
        {"money just below 1.16 rounds to it", [](CTableFile& t) { t.WriteCurrency(116 * 0.01); },
         Typed(CellKind::Money, 1.16)},
        {"negative money", [](CTableFile& t) { t.WriteCurrency(1999 * -0.01); }, Typed(CellKind::Money, -19.99)},
        {"money beyond 429,496.7296", [](CTableFile& t) { t.WriteCurrency(500000.25); },
         Typed(CellKind::Money, 500000.25)},
        {"a date at midnight", [](CTableFile& t) { t.WriteDate(Day(2005, 12, 31) + 3600 * 15); },
         Typed(CellKind::Date, 38717)},
        {"a time on day zero", [](CTableFile& t) { t.WriteTime(Day(2020, 5, 5) + 14 * 3600 + 35 * 60 + 59); },
         Typed(CellKind::Date, (14 * 60 + 35) / 1440.0)},
    };
    const std::string path = TempPath("typed.xls");
    DeleteFileA(path.c_str());
    {
        CTableFile& table = Make();
        ASSERT_EQ(table.OpenForWrite(path), 0);
        // The built-in table file writes the whole file at the end.
        EXPECT_EQ(FileExists(path), GetParam() == Kind::Automation) << "saved at once";
        for (const Case& c : cases) c.write(table);
        table.EndRow();
        table.WriteString("second row");
        EXPECT_EQ(table.FinishWrite(), 0);
    }
    const workbook::Sheet sheet = ReadSheet(path);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Cell& cell = sheet.GetCell(0, static_cast<int>(i));
        const Cell& expected = cases[i].stored;
        EXPECT_EQ(cell.kind, expected.kind) << cases[i].what << " " << Describe(cell);
        EXPECT_NEAR(cell.number, expected.number, 1e-9) << cases[i].what;
        EXPECT_EQ(cell.text, expected.text) << cases[i].what;
    }
    EXPECT_EQ(sheet.GetCell(1, 0).text, u"second row");
}

// One prepared cell per row (row 1 a heading), each read one way.
TEST_P(WorkbookTableFile, ReadsChooseBetweenTheTypedValueAndTheDisplayedText) {
    struct Case {
        const char* what;
        Cell cell;
        std::function<int(CTableFile&, double&)> read;
        int result;
        double value;
    };
    auto readDouble = [](CTableFile& t, double& v) { return t.ReadDouble(v); };
    auto readCurrency = [](CTableFile& t, double& v) { return t.ReadCurrency(v); };
    auto readInt = [](CTableFile& t, double& v) {
        int i = -99;
        const int r = t.ReadInt(i);
        v = i;
        return r;
    };
    auto readDate = [](CTableFile& t, double& v) {
        CalendarTime d = -99;
        const int r = t.ReadDate(d);
        v = d;
        return r;
    };
    auto readNumberCell = [](CTableFile& t, double& v) { return t.ReadNumberCell(v); };
    const double midnight = Day(2005, 12, 31);
    const std::vector<Case> cases = {
        {"a number", Typed(CellKind::Number, 12.5), readDouble, 0, 12.5},
        {"a text showing 12.5", Text(u"12.5"), readDouble, 0, 12.5},
        {"money reads as its amount", Typed(CellKind::Money, 19.99), readDouble, 0, 19.99},
        {"a number shown with grouping", Typed(CellKind::Money, 1234), readInt, 0, 1234},
        {"an integer rounds to the nearest", Typed(CellKind::Number, 2.6), readInt, 0, 3},
        {"an integer beyond int is held", Typed(CellKind::Number, 1e12), readInt, 0, 2147483647},
        {"a text integer", Text(u"42 cars"), readInt, 0, 42},
        {"no amount", Text(u"abc"), readCurrency, -1, -99},
        {"an amount of -2.5", Typed(CellKind::Money, -2.5), readCurrency, 0, -2.5},
        {"an amount beyond 429,496.7296", Typed(CellKind::Money, 912345.6789), readCurrency, 0, 912345.6789},
        {"a date", Typed(CellKind::Date, 38717), readDate, 0, midnight},
        {"blanks and no date", Text(u"   "), readDate, -2, -99},
        {"a date in 2040", Typed(CellKind::Date, 51136), readDate, -1, -99},
        {"number cell: a number", Typed(CellKind::Number, 1.5e-3), readNumberCell, 0, 1.5e-3},
        {"number cell: money", Typed(CellKind::Money, 45.23), readNumberCell, 0, 45.23},
        {"number cell: a whole decimal text", Text(u" 12.5 "), readNumberCell, 0, 12.5},
        {"number cell: a decimal comma", Text(u"12,5"), readNumberCell, -1, 0},
        {"number cell: empty", Cell(), readNumberCell, -2, 0},
        {"number cell: a date", Typed(CellKind::Date, 38717), readNumberCell, -1, 0},
        {"number cell: a truth value", Typed(CellKind::Boolean, 1), readNumberCell, -1, 0},
    };
    workbook::Sheet sheet;
    sheet.SetCell(0, 0, Text(u"Heading"));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        // A second cell keeps rows whose first cell is empty in the used range.
        sheet.SetCell(static_cast<int>(i) + 1, 0, cases[i].cell);
        sheet.SetCell(static_cast<int>(i) + 1, 1, Text(u"end"));
    }
    const std::string path = TempPath("reads.xls");
    WriteSheet(path, sheet);

    CTableFile& table = Make();
    ASSERT_EQ(table.OpenForRead(path), 0);
    EXPECT_EQ(table.GetProgressMax(), static_cast<int>(cases.size()) + 1);
    for (const Case& c : cases) {
        ASSERT_EQ(table.NextRow(), 0) << c.what;
        double value = -99;
        EXPECT_EQ(c.read(table, value), c.result) << c.what;
        EXPECT_NEAR(value, c.value, 1e-9) << c.what;
        std::string next;
        table.ReadString(next);
        EXPECT_EQ(next, "end") << c.what << ": a read moves one cell on";
    }
    EXPECT_EQ(table.NextRow(), -1);
    EXPECT_EQ(table.Close(), 0);
}

TEST_P(WorkbookTableFile, TimesAndDisplayedTextsReadBack) {
    const std::string path = TempPath("texts.xls");
    DeleteFileA(path.c_str());  // the application saves over no file
    {
        CTableFile& table = Make();
        table.OpenForWrite(path);
        table.WriteTime(Day(2001, 1, 1) + 14 * 3600 + 35 * 60);
        table.WriteString("x\r\ny");
        table.WriteString("'quoted");
        table.WriteNumber(12345.6, 1);
        table.FinishWrite();
    }
    CTableFile& table = Make();
    ASSERT_EQ(table.OpenForRead(path), 0);
    CalendarTime time = 0;
    ASSERT_EQ(table.ReadTime(time), 0);
    LocalTimeFields today = ToLocalFields(CurrentCalendarTime());
    today.hour = 14;
    today.minute = 35;
    today.second = 0;
    EXPECT_EQ(time, FromLocalFields(today));
    std::string text;
    table.ReadString(text);
    EXPECT_EQ(text, "x\ny");
    table.ReadString(text);
    EXPECT_EQ(text, "'quoted");
    table.ReadString(text);
    char decimal[4] = ".";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    EXPECT_EQ(text, std::string("12345") + decimal + "6");
    table.Close();
}

// A text cell reads as the program's 8-bit text, as Windows-1252 gives it,
// characters it lacks as the system's conversion gives them.
TEST_P(WorkbookTableFile, TextCellsReadAsTheProgramsEightBitText) {
    const std::vector<std::wstring> texts = {L"caf\u00e9 \u20ac5 \u0152 \u00ff", L"\u0100 \u4e2d \u0081", L"line\nfeed",
                                             L""};
    workbook::Sheet sheet;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        sheet.SetCell(static_cast<int>(i), 0, Text(std::u16string(texts[i].begin(), texts[i].end())));
        sheet.SetCell(static_cast<int>(i), 1, Text(u"end"));
    }
    const std::string path = TempPath("eight-bit.xls");
    WriteSheet(path, sheet);
    CTableFile& table = Make();
    ASSERT_EQ(table.OpenForRead(path), 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            ASSERT_EQ(table.NextRow(), 0);
        }
        std::string text, next;
        table.ReadString(text);
        EXPECT_EQ(text, CBstr::ToAnsi(texts[i].data(), static_cast<unsigned>(texts[i].size()))) << i;
        table.ReadString(next);
        EXPECT_EQ(next, "end") << i;
    }
    table.Close();
}

// The built-in table file reads a workbook another program holds open for
// writing as it reads any other.
TEST(WorkbookFileTableFile, ReadsAWorkbookAnotherProgramHoldsOpenForWriting) {
    workbook::Sheet sheet;
    sheet.SetCell(0, 0, Text(u"held"));
    const std::string path = TempPath("held.xls");
    WriteSheet(path, sheet);
    const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    CWorkbookFileTableFile table;
    EXPECT_EQ(table.OpenForRead(path), 0);
    std::string text;
    table.ReadString(text);
    EXPECT_EQ(text, "held");
    table.Close();
    CloseHandle(writer);
}

// An amount no money cell holds fails its row as a refused cell does: the
// file keeps the rows before it and nothing of that row.
TEST_P(WorkbookTableFile, AnAmountBeyondMoneyLeavesNoPartOfItsRow) {
    const std::string path = TempPath("amount.xls");
    DeleteFileA(path.c_str());
    {
        CTableFile& table = Make();
        ASSERT_EQ(table.OpenForWrite(path), 0);
        table.WriteString("kept");
        table.EndRow();
        table.WriteString("dropped");
        EXPECT_THROW(table.WriteCurrency(1e300), CException);
        EXPECT_EQ(table.FinishWrite(), 0);
    }
    const workbook::Sheet sheet = ReadSheet(path);
    EXPECT_EQ(sheet.GetCell(0, 0).text, u"kept");
    EXPECT_EQ(sheet.GetCell(1, 0).kind, CellKind::Empty);
}

TEST_P(WorkbookTableFile, RowsEndWithTheUsedRangeWhereverItBegins) {
    struct Case {
        const char* what;
        std::vector<int> filledRows;  // 0-based
        int rowCount;
    };
    for (const Case& c : std::vector<Case>{{"rows 1 to 4", {0, 1, 2, 3}, 4},
                                           {"a heading only", {0}, 1},
                                           {"rows 3 to 5", {2, 3, 4}, 5},
                                           {"an empty sheet", {}, 1}}) {
        workbook::Sheet sheet;
        for (int row : c.filledRows) sheet.SetCell(row, 2, Text(u"cell"));
        const std::string path = TempPath("rows.xls");
        WriteSheet(path, sheet);
        CTableFile& table = Make();
        ASSERT_EQ(table.OpenForRead(path), 0) << c.what;
        EXPECT_EQ(table.GetProgressMax(), c.rowCount) << c.what;
        EXPECT_EQ(table.GetProgressPos(), 1) << c.what;
        for (int row = 2; row <= c.rowCount; ++row) {
            EXPECT_EQ(table.NextRow(), 0) << c.what << " row " << row;
            EXPECT_EQ(table.GetProgressPos(), row) << c.what;
        }
        EXPECT_EQ(table.NextRow(), -1) << c.what;
        table.Close();
    }
}

// The import's number-cell read answers the same for a text, whichever kind
// of table file holds it.
TEST_P(WorkbookTableFile, NumberCellTextsReadAlikeInBothTableFiles) {
    const std::vector<std::string> texts = {"12.5", " -3 ", "1e3", "", "  ", "12,5", "1,234", "abc", "1e999", "0x10"};
    const std::string workbookPath = TempPath("numbers.xls");
    const std::string csvPath = TempPath("numbers.csv");
    DeleteFileA(workbookPath.c_str());
    {
        CTableFile& workbookTable = Make();
        workbookTable.OpenForWrite(workbookPath);
        CCsvTableFile csvTable;
        csvTable.SetSeparator(",");
        csvTable.OpenForWrite(csvPath);
        for (CTableFile* table : {static_cast<CTableFile*>(&workbookTable), static_cast<CTableFile*>(&csvTable)}) {
            // Row 1 is a heading: a workbook reader starts at row 2.
            table->WriteString("heading");
            table->EndRow();
            for (const std::string& text : texts) table->WriteString(text);
            table->WriteString("end");
            table->EndRow();
            table->FinishWrite();
        }
    }
    CTableFile& workbookTable = Make();
    workbookTable.OpenForRead(workbookPath);
    CCsvTableFile csvTable;
    csvTable.SetSeparator(",");
    csvTable.OpenForRead(csvPath);
    ASSERT_EQ(workbookTable.NextRow(), 0);
    ASSERT_EQ(csvTable.NextRow(), 0);
    ASSERT_EQ(csvTable.NextRow(), 0);
    for (const std::string& text : texts) {
        double fromWorkbook = -1, fromCsv = -1;
        EXPECT_EQ(workbookTable.ReadNumberCell(fromWorkbook), csvTable.ReadNumberCell(fromCsv)) << text;
        EXPECT_EQ(fromWorkbook, fromCsv) << text;
    }
    workbookTable.Close();
    csvTable.Close();
}

TEST_F(AutomationWorkbook, FilesThatCannotBeOpenedOrSavedRaiseTheApplicationsDescription) {
    const std::string missing = TempPath("missing.xls");
    DeleteFileA(missing.c_str());
    const std::string unwritable = TempPath("no such folder\\cars.xls");
    const std::string notAWorkbook = TempPath("not-a-workbook.xls");
    WriteFileBytes(notAWorkbook, "\"Date\",\"Mileage\"\r\n");
    struct Case {
        std::string path;
        bool write;
    };
    // A file that exists is never saved over: the application would ask.
    for (const Case& c : std::vector<Case>{{missing, false}, {notAWorkbook, false}, {unwritable, true}, {notAWorkbook, true}}) {
        CExcelTableFile table;
        try {
            c.write ? table.OpenForWrite(c.path) : table.OpenForRead(c.path);
            ADD_FAILURE() << c.path << ": no exception";
        } catch (const COleDispatchException& error) {
            EXPECT_NE(error.GetErrorMessage().find(c.path), std::string::npos) << error.GetErrorMessage();
        }
    }
    EXPECT_EQ(ReadFileBytes(notAWorkbook), "\"Date\",\"Mileage\"\r\n");
}
