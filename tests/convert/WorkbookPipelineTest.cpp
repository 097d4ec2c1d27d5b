// The pipelines over workbooks: through the factory (the spreadsheet stand-in
// when the test prefix has it registered, else the program's own workbook
// table file), and through the program's own whatever the prefix has.
#include "ConvertTestSupport.h"
#include "ExcelTableFile.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "TableFileFactory.h"
#include "WorkbookFileTableFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

using namespace testsupport;

namespace {
// Passes every operation on to a real workbook table file, but at the first
// cell of the given row writes a text longer than a cell holds, so that the
// application refuses it in the middle of an export.
class OversizedTextAtRow : public CTableFile {
public:
    OversizedTextAtRow(std::unique_ptr<CTableFile> table, int failingRow)
        : m_table(std::move(table)), m_failingRow(failingRow) {}
    int OpenForWrite(std::string name) override { return m_table->OpenForWrite(name); }
    int OpenForRead(std::string name) override { return m_table->OpenForRead(name); }
    int FinishWrite() override { return m_table->FinishWrite(); }
    int Close() override { return m_table->Close(); }
    int EndRow() override {
        ++m_rowsEnded;
        return m_table->EndRow();
    }
    int NextRow() override { return m_table->NextRow(); }
    int WriteString(std::string_view text) override { return m_table->WriteString(text); }
    int WriteDate(CalendarTime value) override {
        if (m_rowsEnded + 1 == m_failingRow) return m_table->WriteString(std::string(40000, 'x'));
        return m_table->WriteDate(value);
    }
    int WriteTime(CalendarTime value) override { return m_table->WriteTime(value); }
    int WriteInt(int value) override { return m_table->WriteInt(value); }
    int WriteNumber(double value, int decimals) override { return m_table->WriteNumber(value, decimals); }
    int WriteCurrency(double value) override { return m_table->WriteCurrency(value); }
    int ReadString(std::string& out) override { return m_table->ReadString(out); }
    int ReadDate(CalendarTime& out) override { return m_table->ReadDate(out); }
    int ReadTime(CalendarTime& out) override { return m_table->ReadTime(out); }
    int ReadInt(int& out) override { return m_table->ReadInt(out); }
    int ReadDouble(double& out) override { return m_table->ReadDouble(out); }
    int ReadCurrency(double& out) override { return m_table->ReadCurrency(out); }
    int ReadNumberCell(double& out) override { return m_table->ReadNumberCell(out); }
    int GetProgressPos() override { return m_table->GetProgressPos(); }
    int GetProgressMax() override { return m_table->GetProgressMax(); }

private:
    std::unique_ptr<CTableFile> m_table;
    int m_failingRow;
    int m_rowsEnded = 0;
};

// The workbooks this process has open in the spreadsheet stand-in.
long OpenWorkbooks() {
    const FARPROC count = GetProcAddress(GetModuleHandleA("RtSpreadsheet.dll"), "OpenWorkbookCount");
    return count ? reinterpret_cast<long(WINAPI*)()>(reinterpret_cast<void*>(count))() : 0;
}

// A file object whose writes fail as on a full disk.
class FullDisk : public CFile {
public:
    void Write(const void*, std::size_t) override { throw CFileException(ERROR_DISK_FULL, GetFilePath()); }
};

class WorkbookPipeline : public testing::Test {
protected:
    COleSession ole;
    std::string folder = NewFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    std::unique_ptr<AppSettings> settings = MakeSettings(";");
    MessageLog messages;
};
}  // namespace

TEST_F(WorkbookPipeline, AnAutomationErrorInTheMiddleIsReportedOnceAndTheRowsBeforeItStay) {
    const std::string database = folder + "\\RoadtallyDBTest.pdb";
    const std::string table = folder + "\\out.xls";
    WriteCarDatabase(database, CCarRecord("Golf"),
                     {Fillup(Day(2005, 1, 1), 10, 100, 1000), Fillup(Day(2005, 1, 2), 20, 200, 2000),
                      Fillup(Day(2005, 1, 3), 30, 300, 3000), Fillup(Day(2005, 1, 4), 40, 400, 4000)});
    const int failingRow = 4;  // the third fill-up
    TableFileMaker maker = [&](std::string name, const AppSettings& s) -> std::unique_ptr<CTableFile> {
        auto workbook = CreateTableFileForWrite(name, s);
        if (!workbook) return nullptr;
        return std::make_unique<OversizedTextAtRow>(std::move(workbook), failingRow);
    };
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr, maker), kExportWriteFailed);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0].rfind("Error writing file\n", 0), 0u) << messages.Texts()[0];
    EXPECT_GT(messages.Texts()[0].size(), std::string("Error writing file\n").size()) << "the application's text";
    EXPECT_EQ(messages.Messages()[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));

    const std::string copy = folder + "\\RoadtallyDBCopy.pdb";
    EXPECT_EQ(ImportTable(copy, table, "", "Copy", *settings, nullptr), 2);
    const std::vector<CFillupRecord> back = ReadEntries(copy);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].mileage, 20u);
    EXPECT_EQ(back[1].price, 200u);
}

// A note longer than a cell holds fails its row part-way: the saved workbook
// holds the whole rows before it and nothing of that row.
TEST_F(WorkbookPipeline, ARowThatFailsPartWayIsNotSavedHalfWritten) {
    const std::string database = folder + "\\RoadtallyDBTest.pdb", table = folder + "\\out.xls";
    WriteCarDatabase(database, CCarRecord("Golf"), {Fillup(Day(2005, 1, 1), 10, 100, 1000, "one"),
                                                    Fillup(Day(2005, 1, 2), 20, 200, 2000, std::string(40000, 'x'), "Fuel")});
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr), kExportWriteFailed);
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(ImportTable(folder + "\\RoadtallyDBCopy.pdb", table, "", "Copy", *settings, nullptr), 1);
}

// No way out of a run leaves a workbook open in the application, where it
// would stay locked (maybe behind a prompt nobody sees).
TEST_F(WorkbookPipeline, NoRunLeavesAWorkbookOpen) {
    const std::string database = folder + "\\RoadtallyDBTest.pdb", table = folder + "\\bad.xls";
    WriteCarDatabase(database, CCarRecord("Golf"), {Fillup(Day(2005, 1, 1), 10, 100, 1000)});
    auto book = CreateTableFileForWrite(table, *settings);  // a heading, then rows without dates
    for (const char* first : {"Date", "no date", "no date"}) book->WriteString(first), book->EndRow();
    book->FinishWrite();
    const TableFileMaker blockedSave = [](std::string name, const AppSettings& s) {
        auto made = CreateTableFileForWrite(name, s);
        DeleteFileA(name.c_str());
        CreateDirectoryA(name.c_str(), nullptr);  // the last save cannot replace a folder
        return made;
    };
    const auto import = [&] { return ImportTable(folder + "\\copy.pdb", table, "", "Copy", *settings, nullptr); };
    const std::function<void()> runs[] = {
        [&] { MessageLog cancel([](const ShownMessage&) { return IDCANCEL; }); EXPECT_EQ(import(), 0); },
        [&] { PostQuitMessage(0); EXPECT_EQ(import(), 0); MSG m; PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); },
        [&] { EXPECT_EQ(ExportDatabase(database, folder + "\\x.xls", *settings, nullptr, blockedSave), kExportWriteFailed); },
    };
    for (const auto& run : runs) {
        const long before = OpenWorkbooks();
        run();
        EXPECT_EQ(OpenWorkbooks(), before) << "run " << &run - runs << " of: Cancel at a bad row, quit, failed save";
    }
}

TEST_F(WorkbookPipeline, AFailedWriteOfTheProgramsOwnWorkbookLeavesTheEarlierFileAsItWas) {
    const std::string database = folder + "\\RoadtallyDBTest.pdb", table = folder + "\\out.xls";
    WriteCarDatabase(database, CCarRecord("Golf"), {Fillup(Day(2005, 1, 1), 10, 100, 1000)});
    WriteFileBytes(table, "earlier");
    auto unchanged = [&] {  // and no temporary file left
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) return FindClose(search), false;
        return ReadFileBytes(table) == "earlier";
    };
    // The disk fills: told once, as the CSV export tells it.
    TableFileMaker fullDisk = [](std::string name, const AppSettings&) {
        return OwnWorkbook(name, true, [] { return std::make_unique<FullDisk>(); });
    };
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr, fullDisk), kExportWriteFailed);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error writing file\n" + CFileException(ERROR_DISK_FULL, table).GetErrorMessage()});
    EXPECT_TRUE(unchanged());
    // A row beyond the format's 65,536 is refused before anything is written.
    CWorkbookFileTableFile rows;
    ASSERT_EQ(rows.OpenForWrite(table), 0);
    for (int row = 1; row < 65536; ++row) rows.EndRow();
    EXPECT_EQ(rows.WriteString("last row"), 0);
    rows.EndRow();
    EXPECT_THROW(rows.WriteString("one row too many"), CWorkbookFileException);
    rows.Close();
    EXPECT_TRUE(unchanged());
    // A file another program keeps from being written, a folder that cannot
    // be written: not opened.
    CFile holder;
    ASSERT_TRUE(holder.Open(table, CFile::Mode::Read, CFile::Share::DenyWrite));
    EXPECT_EQ(CWorkbookFileTableFile().OpenForWrite(table), -1);
    holder.Close();
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(CWorkbookFileTableFile().OpenForWrite(folder + "\\no such folder\\out.xls"), -1);
}

TEST_F(WorkbookPipeline, AFileThatIsNoWorkbookIsToldWithItsNameAndWhyAndImportsNothing) {
    const std::vector<std::uint8_t> book = workbook::WriteWorkbook(workbook::Sheet());
    const std::string table = folder + "\\in.xls", database = folder + "\\RoadtallyDBIn.pdb";
    for (const auto& [bytes, why] : std::vector<std::pair<std::string, std::string>>{
             {std::string("PK\x03\x04", 4) + std::string(200, '\0'), "an Excel 2007 or later workbook (.xlsx)"},
             {"\"Date\";\"Mileage\"\r\n", "no compound file header"},
             {std::string(book.begin(), book.begin() + book.size() / 2), "compound file"}}) {
        WriteFileBytes(table, bytes);
        try {
            ImportTable(database, table, "", "In", *settings, nullptr, [](std::string name, const AppSettings&) {
                return OwnWorkbook(name, false);
            });
            ADD_FAILURE() << why << ": no exception";
        } catch (const CWorkbookFileException& error) {
            EXPECT_EQ(error.GetErrorMessage().rfind("Error: Can't read file " + table + "\n", 0), 0u);
            EXPECT_NE(error.GetErrorMessage().find(why), std::string::npos) << error.GetErrorMessage();
        }
        EXPECT_FALSE(FileExists(database)) << why;
    }
}
