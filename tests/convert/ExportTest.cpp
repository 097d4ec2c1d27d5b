#include "ConvertTestSupport.h"
#include "CsvTableFile.h"
#include "Exception.h"
#include "ExportDatabase.h"
#include "FillingDisk.h"
#include "MessagePump.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

using namespace testsupport;

namespace {
using Rows = std::vector<std::vector<std::string>>;

class ExportTest : public testing::Test {
protected:
    Rows Export(const CCarRecord& car, const std::vector<Entry>& entries) {
        WriteCarDatabase(database, car, entries);
        result = ExportDatabase(database, table, *settings, nullptr);
        return SplitWrittenCsv(ReadFileBytes(table), ';');
    }

    std::string folder = NewFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string database = folder + "\\RoadtallyDBTest.pdb";
    std::string table = folder + "\\out.csv";
    std::unique_ptr<AppSettings> settings = MakeSettings(";");
    MessageLog messages;
    int result = 99;
};

CCarRecord Car(bool miles, bool gallons, const std::string& symbol, const std::string& code) {
    CCarRecord car("Golf");
    car.miles = miles;
    car.gallons = gallons;
    car.currencySymbol = symbol;
    car.currencyCode = code;
    return car;
}
}  // namespace

TEST_F(ExportTest, HeadingNamesTheCarsUnitsAndCurrency) {
    Rows rows = Export(Car(true, true, "$", "USD"), {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Date", "Mileage (mi)", "Price ($)", "Fill-up (gal)",
                                                 "Partial Fill-up/Missing Fill-up/Recurring Cost", "Note",
                                                 "Category", "Recurring Cost End Date",
                                                 "Recurring Cost Interval (months)"}));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(messages.Messages().empty());

    rows = Export(Car(false, false, "DM", "DEM"), {});
    EXPECT_EQ(rows[0][1], "Mileage (km)");
    EXPECT_EQ(rows[0][2], "Price (\x80)");  // the euro sign of Windows-1252
    EXPECT_EQ(rows[0][3], "Fill-up (l)");
    EXPECT_EQ(Export(Car(false, false, "DM", "dem"), {})[0][2], "Price (DM)");
    EXPECT_EQ(Export(Car(false, false, "", ""), {})[0][2], "Price ()");
}

TEST_F(ExportTest, HeadingRowBytesAreQuotedCellsEndedByCrLf) {
    Export(Car(false, false, "", ""), {});
    const std::string bytes = ReadFileBytes(table);
    EXPECT_EQ(bytes.substr(0, 26), "\"Date\";\"Mileage (km)\";\"Pri");
    EXPECT_EQ(bytes.substr(bytes.size() - 37), ";\"Recurring Cost Interval (months)\"\r\n");
}

TEST_F(ExportTest, NumberCellsShowTheStoredUnits) {
    Entry negative = Fillup(Day(2005, 3, 1), 123456, 1999, 4523, "full", "Fuel");
    negative.record.priceNegative = true;
    Entry thousandths = Fillup(Day(2005, 3, 2), 0, 115, 0x80000000u | 45123u);
    Rows rows = Export(Car(false, false, "", "EUR"), {negative, thousandths});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{ShortDate(Day(2005, 3, 1)), "12345.6", "-19.99", "45.23", "",
                                                 "full", "Fuel"}));
    EXPECT_EQ(rows[2][1], "0.0");
    EXPECT_EQ(rows[2][2], "1.15");
    EXPECT_EQ(rows[2][3], "45.123");
}

TEST_F(ExportTest, KindCellTakesPartialThenMissingThenRecurring) {
    Entry both = Fillup(Day(2006, 1, 1), 10, 10, 10);
    both.record.partial = both.record.missing = true;
    Entry missingRecurring = Recurring(Day(2006, 1, 2), 5000, Day(2007, 12, 31), 0);
    missingRecurring.record.missing = true;
    Entry recurring = Recurring(Day(2006, 1, 3), 12000, Day(2008, 6, 30), 12, "insurance", "Costs");
    Rows rows = Export(Car(false, false, "", ""), {both, missingRecurring, recurring});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].size(), 7u);
    EXPECT_EQ(rows[1][4], "p");
    // A recurring cost keeps its nine cells whatever its kind cell says; an
    // entry without a category reads as the database's category 0.
    EXPECT_EQ(rows[2], (std::vector<std::string>{ShortDate(Day(2006, 1, 2)), "", "50.00", "", "m", "", "Costs",
                                                 ShortDate(Day(2007, 12, 31)), "0"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{ShortDate(Day(2006, 1, 3)), "", "120.00", "", "r", "insurance",
                                                 "Costs", ShortDate(Day(2008, 6, 30)), "12"}));
}

TEST_F(ExportTest, ACostWithoutEndDateLeavesItsEndDateCellEmpty) {
    Entry endless = Recurring(Day(2006, 1, 3), 12000, Day(2008, 6, 30), 12);
    endless.record.recurringEndDate.reset();
    Rows rows = Export(Car(false, false, "", ""), {endless});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{ShortDate(Day(2006, 1, 3)), "", "120.00", "", "r", "", "", "", "12"}));
}

TEST_F(ExportTest, UnreadableOrEmptyDatabasesAreReportedAndWriteNothing) {
    WriteFileBytes(database, "not a database");
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr), -1);
    CPalmDatabase empty("RoadtallyDBTest", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    const std::string emptyPath = folder + "\\empty.pdb";
    ASSERT_EQ(empty.Write(emptyPath), 0);
    EXPECT_EQ(ExportDatabase(emptyPath, table, *settings, nullptr), -1);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Can't read file " + database,
                                                          "Error: Can't read file " + emptyPath}));
    EXPECT_EQ(messages.Messages()[0].type, static_cast<unsigned>(MB_OK));
    EXPECT_FALSE(FileExists(table));
}

TEST_F(ExportTest, AnExportOntoItsOwnDatabaseIsRefusedAndLeavesTheDatabaseWhole) {
    WriteCarDatabase(database, Car(false, false, "EUR", "EUR"), {});
    const std::string before = ReadFileBytes(database);
    EXPECT_EQ(ExportDatabase(database, database, *settings, nullptr), -1);
    EXPECT_EQ(ReadFileBytes(database), before);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Can't read file " + database}));
}

namespace {
// Hides the spreadsheet application's ProgID, wherever this prefix has it
// registered, for as long as it lives.
class ScopedNoSpreadsheetApplication {
public:
    ScopedNoSpreadsheetApplication() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(root, kProgIdKey, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
            const bool saved = RegCreateKeyExA(root, kSavedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_saved[m_count].key,
                                               nullptr) == ERROR_SUCCESS &&
                               RegCopyTreeA(key, nullptr, m_saved[m_count].key) == ERROR_SUCCESS;
            RegCloseKey(key);
            if (!saved) continue;
            m_saved[m_count++].root = root;
            RegDeleteTreeA(root, kProgIdKey);
        }
    }
    ~ScopedNoSpreadsheetApplication() {
        for (int i = 0; i < m_count; ++i) {
            HKEY restored = nullptr;
            if (RegCreateKeyExA(m_saved[i].root, kProgIdKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &restored, nullptr) ==
                ERROR_SUCCESS) {
                RegCopyTreeA(m_saved[i].key, nullptr, restored);
                RegCloseKey(restored);
            }
            RegCloseKey(m_saved[i].key);
            RegDeleteTreeA(m_saved[i].root, kSavedKey);
        }
    }
    ScopedNoSpreadsheetApplication(const ScopedNoSpreadsheetApplication&) = delete;
    ScopedNoSpreadsheetApplication& operator=(const ScopedNoSpreadsheetApplication&) = delete;

private:
    static constexpr char kProgIdKey[] = "Software\\Classes\\Excel.Application";
    static constexpr char kSavedKey[] = "Software\\RoadtallyTests\\Excel.Application";
    struct Saved {
        HKEY root = nullptr;
        HKEY key = nullptr;
    };
    Saved m_saved[2];
    int m_count = 0;
};
}  // namespace

TEST_F(ExportTest, WorkbookNameWithoutSpreadsheetApplicationIsWrittenByTheProgram) {
    COleSession ole;
    ScopedNoSpreadsheetApplication hidden;
    ASSERT_FALSE(SpreadsheetRegistered());
    WriteCarDatabase(database, Car(false, false, "", ""), {Fillup(Day(2005, 1, 1), 1, 1, 1)});
    EXPECT_EQ(ExportDatabase(database, folder + "\\out.xls", *settings, nullptr), 0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(ReadFileBytes(folder + "\\out.xls").substr(0, 4), "\xD0\xCF\x11\xE0");
}


TEST_F(ExportTest, WriteErrorKeepsEveryEarlierRowAndIsToldOnce) {
    std::vector<Entry> entries;
    for (int i = 1; i <= 6; ++i) entries.push_back(Fillup(Day(2005, 1, i), 1000 * i, 100 * i, 10 * i));
    WriteCarDatabase(database, Car(false, false, "", ""), entries);
    const int k = 4;  // the disk fills up inside data row k
    ASSERT_EQ(ExportDatabase(database, table, *settings, nullptr), 0);
    const std::string whole = ReadFileBytes(table);
    std::size_t room = 0;
    for (int row = 0; row < k; ++row) room = whole.find("\r\n", room) + 2;
    room += 5;
    auto failing = [&](std::string name, const AppSettings& s) -> std::unique_ptr<CTableFile> {
        auto csv = std::make_unique<CCsvTableFile>(std::make_unique<CFillingDiskFile>(room));
        csv->SetSeparator(s.listSeparator);
        if (csv->OpenForWrite(name) != 0) return nullptr;
        return csv;
    };
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr, failing), kExportWriteFailed);
    Rows rows = SplitWrittenCsv(ReadFileBytes(table), ';');
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(k));  // heading and rows 1 to k-1
    EXPECT_EQ(rows[k - 1][1], "300.0");
    ASSERT_EQ(messages.Messages().size(), 1u);
    char systemText[1000] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_DISK_FULL, 0, systemText,
                   sizeof systemText, nullptr);
    EXPECT_EQ(messages.Messages()[0].text.rfind("Error writing file\n", 0), 0u);
    EXPECT_NE(messages.Messages()[0].text.find(std::string(systemText).substr(0, 10)), std::string::npos);
    EXPECT_EQ(messages.Messages()[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
}

namespace {
// A CSV file whose writing posts the quit message once row quitAfterRow is
// complete, as a click on Quit during the export would, and then waits out
// the pump interval so that the next record looks at the queue.
class QuittingTable : public CCsvTableFile {
public:
    explicit QuittingTable(int quitAfterRow) : m_quitAfterRow(quitAfterRow) {}
    int EndRow() override {
        const int result = CCsvTableFile::EndRow();
        if (m_rows++ == m_quitAfterRow) {
            PostQuitMessage(0);
            Sleep(CRecordPump::kIntervalMs + 30);
        }
        return result;
    }

private:
    int m_quitAfterRow;
    int m_rows = 0;  // the heading is row 0
};
}  // namespace

TEST_F(ExportTest, AQuitDuringTheRunKeepsTheRowsBeforeItAndStaysPosted) {
    std::vector<Entry> entries;
    for (int i = 1; i <= 6; ++i) entries.push_back(Fillup(Day(2005, 1, i), 10 * i, 100 * i, 10 * i));
    WriteCarDatabase(database, Car(false, false, "", ""), entries);
    auto quitting = [&](std::string name, const AppSettings& s) -> std::unique_ptr<CTableFile> {
        auto csv = std::make_unique<QuittingTable>(3);
        csv->SetSeparator(s.listSeparator);
        if (csv->OpenForWrite(name) != 0) return nullptr;
        return csv;
    };
    EXPECT_EQ(ExportDatabase(database, table, *settings, nullptr, quitting), 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit stays for the main loop";
    // The heading and rows 1 to 3, every one whole, in a finished file.
    const std::string bytes = ReadFileBytes(table);
    Rows rows = SplitWrittenCsv(bytes, ';');
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], (std::vector<std::string>{ShortDate(Day(2005, 1, 3)), "3.0", "3.00", "0.30", "", "", ""}));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_TRUE(messages.Messages().empty());
}
