#include "ConvertTestSupport.h"
#include "EntryRow.h"
#include "CsvTableFile.h"
#include "Exception.h"
#include "ImportTable.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

using namespace testsupport;

namespace {
const std::string kHeading =
    "Date;Mileage (km);Price ();Fill-up (l);Partial Fill-up/Missing Fill-up/Recurring Cost;Note;Category;"
    "Recurring Cost End Date;Recurring Cost Interval (months)";

std::string Csv(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string D(int year, int month, int day) { return ShortDate(Day(year, month, day)); }

class ImportTest : public testing::Test {
protected:
    int Import(const std::vector<std::string>& lines, const std::string& previous = "") {
        WriteFileBytes(table, Csv(lines));
        return ImportTable(database, table, previous, "My Car", *settings, nullptr);
    }

    std::string folder = NewFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string database = folder + "\\RoadtallyDBMy_Car.pdb";
    std::string table = folder + "\\in.csv";
    std::unique_ptr<AppSettings> settings = MakeSettings(";");
};
}  // namespace

TEST_F(ImportTest, HeadingIsDroppedAndGoodRowsBecomeRecordsAfterANewCarRecord) {
    MessageLog messages;
    EXPECT_EQ(Import({kHeading, D(2005, 3, 1) + ";12345.6;-12.5;45.23; R ;a note;Fuel;" + D(2006, 1, 1) + ";12",
                      D(2005, 3, 2) + ";100;19.99;40;x;;Fuel", D(2005, 3, 3) + ";100.05;1;2;pm"}),
              3);
    EXPECT_TRUE(messages.Messages().empty());

    CPalmDatabase written;
    ASSERT_EQ(written.Read(database), 0);
    EXPECT_EQ(written.GetName(), "RoadtallyDBMy_Car");
    EXPECT_EQ(written.GetCreator(), MakePalmCode("RtLg"));
    EXPECT_EQ(written.GetType(), MakePalmCode("DATA"));
    CCarRecord car;
    car.ParseCarRecord(written.GetRecord(0));
    EXPECT_EQ(car.carName, "My Car");
    EXPECT_EQ(car.carValue, 0xFEFEFEFEu);
    EXPECT_TRUE(car.items.empty());

    const std::vector<CFillupRecord> entries = ReadEntries(database);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].recurring);
    EXPECT_EQ(entries[0].mileage, 123456u);
    EXPECT_EQ(entries[0].price, 1250u);
    EXPECT_TRUE(entries[0].priceNegative);
    EXPECT_EQ(entries[0].recurringEndDate, Day(2006, 1, 1));
    EXPECT_EQ(entries[0].recurringInterval, 12);
    EXPECT_EQ(entries[0].note, "a note");
    EXPECT_EQ(entries[0].categoryName, "Fuel");
    // The reused record carries no flag of the row before into the next.
    EXPECT_FALSE(entries[1].recurring || entries[1].priceNegative || entries[1].partial || entries[1].missing);
    EXPECT_EQ(entries[1].price, 1999u);  // rounded, not truncated
    EXPECT_EQ(entries[1].fillAmount, 4000u);
    EXPECT_EQ(entries[2].mileage, 1001u);
    EXPECT_FALSE(entries[2].partial || entries[2].missing);
    EXPECT_EQ(entries[2].date, Day(2005, 3, 3));
}

TEST_F(ImportTest, BadRowsAreToldWithTheirLineAndOkSkipsThem) {
    MessageLog messages;
    EXPECT_EQ(Import({kHeading, D(2005, 1, 1) + ";1;1;1", "junk;1;1;1", D(2005, 1, 3) + ";-1;1;1",
                      D(2005, 1, 4) + ";1;12,5;1", D(2005, 1, 5) + ";1;1;abc", D(2005, 1, 6) + ";1;1;1;r;;;x",
                      D(2005, 1, 7) + ";1;1;1"}),
              2);
    const std::string prefix = "Error reading " + table + " line ";
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{prefix + "2\nInvalid date.", prefix + "3\nInvalid mileage.",
                                                          prefix + "4\nInvalid price.",
                                                          prefix + "5\nInvalid refill amount.",
                                                          prefix + "6\nInvalid date."}));
    EXPECT_EQ(messages.Messages()[0].type, static_cast<unsigned>(MB_OKCANCEL | MB_ICONERROR));
    ASSERT_EQ(ReadEntries(database).size(), 2u);
    EXPECT_EQ(ReadEntries(database)[1].date, Day(2005, 1, 7));
}

TEST_F(ImportTest, CancelAtABadRowLeavesNoFile) {
    MessageLog messages([](const ShownMessage&) { return IDCANCEL; });
    EXPECT_EQ(Import({kHeading, D(2005, 1, 1) + ";1;1;1", D(2005, 1, 2) + ";nan;1;1", D(2005, 1, 3) + ";1;1;1"}), 0);
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_FALSE(FileExists(database));
}

TEST_F(ImportTest, ABadFirstRowIsTakenForAHeadingAndNoHeadingIsNeeded) {
    MessageLog messages;
    EXPECT_EQ(Import({D(2005, 1, 1) + ";inf;1;1", D(2005, 1, 2) + ";1;1;1"}), 1);
    EXPECT_EQ(Import({D(2005, 1, 1) + ";1;1;1", D(2005, 1, 2) + ";1;1;1"}), 2);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImportTest, EmptyRowsAreSkippedButAnEmptyDateBesideDataIsBad) {
    MessageLog messages;
    EXPECT_EQ(Import({"", kHeading, D(2005, 1, 1) + ";1;1;1", "", ";;;;;;;;", " ; ", D(2005, 1, 2) + ";2;2;2",
                      ";5;5;5;;lost?", D(2005, 1, 3) + ";3;3;3", "", ""}),
              3);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error reading " + table + " line 6\nInvalid date."}));
}

TEST_F(ImportTest, ValuesThatDoNotFitTheirFieldsAreBadRows) {
    MessageLog messages;
    EXPECT_EQ(Import({kHeading,
                      D(2005, 1, 1) + ";429496729.5;2684354.55;21474836.47",  // the largest that fit
                      D(2005, 1, 2) + ";429496729.6;1;1", D(2005, 1, 3) + ";1;2684354.56;1",
                      D(2005, 1, 4) + ";1;-2684354.56;1", D(2005, 1, 5) + ";1;1;21474836.48",
                      D(2005, 1, 6) + ";1;1;-0.01", D(2005, 1, 7) + ";1e400;1;1", D(2005, 1, 8) + ";0x10;1;1"}),
              1);
    const std::vector<CFillupRecord> entries = ReadEntries(database);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mileage, 4294967295u);
    EXPECT_EQ(entries[0].price, 268435455u);
    EXPECT_EQ(entries[0].fillAmount, 2147483647u);
    const std::vector<std::string> texts = messages.Texts();
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_NE(texts[0].find("Invalid mileage."), std::string::npos);
    EXPECT_NE(texts[1].find("Invalid price."), std::string::npos);
    EXPECT_NE(texts[2].find("Invalid price."), std::string::npos);
    EXPECT_NE(texts[3].find("Invalid refill amount."), std::string::npos);
    EXPECT_NE(texts[4].find("Invalid refill amount."), std::string::npos);
    EXPECT_NE(texts[5].find("Invalid mileage."), std::string::npos);
    EXPECT_NE(texts[6].find("Invalid mileage."), std::string::npos);
}

TEST_F(ImportTest, ATableWithoutDataRowsWritesOnlyTheCarRecord) {
    MessageLog messages;
    EXPECT_EQ(Import({kHeading}), 0);
    CPalmDatabase written;
    ASSERT_EQ(written.Read(database), 0);
    EXPECT_EQ(written.GetRecordCount(), 1);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImportTest, MissingTableIsReportedByTheFactory) {
    MessageLog messages;
    EXPECT_EQ(ImportTable(database, folder + "\\missing.csv", "", "My Car", *settings, nullptr), -1);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Can't read file " + folder + "\\missing.csv"}));
    EXPECT_FALSE(FileExists(database));
}

TEST_F(ImportTest, MoreThanSixteenCategoriesLeaveTheRestAtCategoryZero) {
    std::vector<std::string> lines{kHeading};
    for (int i = 0; i < 18; ++i) lines.push_back(D(2005, 1, 1 + i) + ";1;1;1;;;Cat" + std::to_string(i));
    lines.insert(lines.begin() + 2, D(2005, 2, 1) + ";1;1;1;;;");  // Unfiled, while free slots remain
    MessageLog messages;
    EXPECT_EQ(Import(lines), 19);
    CPalmDatabase written;
    ASSERT_EQ(written.Read(database), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(written.GetCategoryLabel(i), "Cat" + std::to_string(i));
    EXPECT_EQ(written.GetRecord(2).GetCategoryIndex(), 0);
    EXPECT_EQ(written.GetRecord(18).GetCategoryIndex(), 0);
    EXPECT_EQ(written.GetRecord(19).GetCategoryName(), "Cat0");
}

TEST_F(ImportTest, ThePresentDatabasesCarRecordAndNameAreTakenOverByteForByte) {
    const std::string previous = folder + "\\RoadtallyDBmy_car.pdb";
    CCarRecord car("Old Name");
    car.miles = true;
    car.currencyCode = "DEM";
    car.uninterpreted = {1, 2, 3, 4, 5, 6};
    CCarRecordItem item;
    item.text = "service";
    item.value1 = 7;
    car.items = {item, item, item};
    WriteCarDatabase(previous, car, {}, "RoadtallyDBmy_car");
    // Bytes the desktop does not interpret, such as an item date of 0xFFFF,
    // must survive: patch them into the stored record.
    CPalmDatabase stored;
    ASSERT_EQ(stored.Read(previous), 0);
    std::vector<unsigned char> carBytes = stored.GetRecord(0).GetData();
    carBytes[5] = 0x77;
    carBytes[44 + 2] = 0xFF;
    carBytes[44 + 3] = 0xFF;
    CPalmDatabase patched("RoadtallyDBmy_car", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    CPalmRecord record;
    record.SetData(carBytes);
    patched.AddRecord(record);
    ASSERT_EQ(patched.Write(previous), 0);

    MessageLog messages;
    EXPECT_EQ(Import({kHeading, D(2005, 1, 1) + ";1;1;1"}, previous), 1);
    CPalmDatabase written;
    ASSERT_EQ(written.Read(database), 0);
    EXPECT_EQ(written.GetName(), "RoadtallyDBmy_car");
    EXPECT_EQ(written.GetRecord(0).GetData(), carBytes);
}

TEST_F(ImportTest, MissingOrUnreadablePresentDatabaseGivesANewCarRecord) {
    const std::string broken = folder + "\\broken.pdb";
    WriteFileBytes(broken, std::string(20, 'x'));
    for (const std::string& previous : {folder + "\\none.pdb", broken}) {
        MessageLog messages;
        EXPECT_EQ(Import({D(2005, 1, 1) + ";1;1;1"}, previous), 1);
        CPalmDatabase written;
        ASSERT_EQ(written.Read(database), 0);
        CCarRecord car;
        car.ParseCarRecord(written.GetRecord(0));
        EXPECT_EQ(car.carName, "My Car");
        EXPECT_EQ(written.GetName(), "RoadtallyDBMy_Car");
        EXPECT_TRUE(messages.Messages().empty());
    }
}

TEST_F(ImportTest, AQuitDuringTheRunLeavesNoFile) {
    MessageLog messages;
    PostQuitMessage(0);
    EXPECT_EQ(Import({kHeading, D(2005, 1, 1) + ";1;1;1", D(2005, 1, 2) + ";1;1;1"}), 0);
    EXPECT_FALSE(FileExists(database));
    // The quit message stays posted for the main loop.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ImportTest, RecurringEndDateAndIntervalCellsAreReadWholeOrTheRowIsBad) {
    // An empty end date is "no end date"; the interval is a whole number of
    // months that fits 16 bits, never cut, wrapped or rounded into it.
    const struct {
        std::string endDate;
        std::string interval;
        std::optional<CalendarTime> storedEndDate;  // of a good row
        int storedInterval;                         // -1: the row is bad
        const char* message;
    } cases[] = {
        {D(2007, 6, 30), "12", Day(2007, 6, 30), 12, nullptr},
        {"", "12", std::nullopt, 12, nullptr},
        {"  ", " 65535 ", std::nullopt, 65535, nullptr},
        {D(2007, 6, 30), "", Day(2007, 6, 30), 0, nullptr},
        {D(2007, 6, 30), "0", Day(2007, 6, 30), 0, nullptr},
        {D(2007, 6, 30), "12.0", Day(2007, 6, 30), 12, nullptr},
        {"soon", "12", std::nullopt, -1, "Invalid date."},
        {D(2007, 6, 30), "65536", std::nullopt, -1, "Invalid recurring cost interval."},
        {D(2007, 6, 30), "70000", std::nullopt, -1, "Invalid recurring cost interval."},
        {D(2007, 6, 30), "-1", std::nullopt, -1, "Invalid recurring cost interval."},
        {D(2007, 6, 30), "12.9", std::nullopt, -1, "Invalid recurring cost interval."},
        {D(2007, 6, 30), "abc", std::nullopt, -1, "Invalid recurring cost interval."},
        {D(2007, 6, 30), "12 months", std::nullopt, -1, "Invalid recurring cost interval."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("end date '" + c.endDate + "', interval '" + c.interval + "'");
        MessageLog messages;
        const bool good = c.storedInterval >= 0;
        EXPECT_EQ(Import({kHeading, D(2005, 1, 1) + ";;10;;r;;;" + c.endDate + ";" + c.interval}), good ? 1 : 0);
        const std::vector<CFillupRecord> entries = ReadEntries(database);
        if (good) {
            ASSERT_EQ(entries.size(), 1u);
            EXPECT_EQ(entries[0].recurringEndDate, c.storedEndDate);
            EXPECT_EQ(entries[0].recurringInterval, c.storedInterval);
            EXPECT_TRUE(messages.Messages().empty());
        } else {
            EXPECT_TRUE(entries.empty());
            EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error reading " + table + " line 1\n" + c.message}));
        }
    }
}

TEST_F(ImportTest, NoEndDateKeepsTheHandheldsNoDateBytes) {
    MessageLog messages;
    ASSERT_EQ(Import({kHeading, D(2005, 1, 1) + ";;10;;r;;;;12"}), 1);
    CPalmDatabase written;
    ASSERT_EQ(written.Read(database), 0);
    const std::vector<unsigned char> bytes = written.GetRecord(1).GetData();
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(bytes[12], 0xFF);
    EXPECT_EQ(bytes[13], 0xFF);
}

TEST_F(ImportTest, ATableADatabaseCannotHoldIsAbandonedBeforeAnyRowIsLost) {
    // 65,535 records at most, the car record included.  Bad rows between the
    // good ones count for nothing.
    const std::string row = D(2005, 1, 1) + ";1;1;1\r\n";
    for (const int rows : {65534, 65535}) {
        std::string text = "junk;1;1;1\r\n" + row + "junk;1;1;1\r\n";
        text.reserve(text.size() + row.size() * static_cast<std::size_t>(rows));
        for (int i = 1; i < rows; ++i) text += row;
        WriteFileBytes(table, text);
        DeleteFileA(database.c_str());
        MessageLog messages;
        const int result = ImportTable(database, table, "", "My Car", *settings, nullptr);
        if (rows == 65534) {
            EXPECT_EQ(result, 65534);
            EXPECT_EQ(ReadEntries(database).size(), 65534u);
            EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error reading " + table + " line 2\nInvalid date."}));
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_FALSE(FileExists(database));
            ASSERT_EQ(messages.Messages().size(), 2u);
            EXPECT_EQ(messages.Texts()[1], table +
                                               " holds more rows than one car's database can take.\n"
                                               "A database takes at most 65534 rows; nothing was imported.");
            EXPECT_EQ(messages.Messages()[1].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
        }
    }
}

TEST_F(ImportTest, ADatabaseThatCannotBeWrittenIsToldWithItsPath) {
    for (const std::string& target : {folder + "\\no such folder\\RoadtallyDBMy_Car.pdb", folder}) {
        MessageLog messages;
        WriteFileBytes(table, Csv({kHeading, D(2005, 1, 1) + ";1;1;1"}));
        EXPECT_EQ(ImportTable(target, table, "", "My Car", *settings, nullptr), -1);
        EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Can't read file " + target}));
        EXPECT_EQ(messages.Messages()[0].type, static_cast<unsigned>(MB_OK));
        EXPECT_FALSE(FileExists(folder + "\\no such folder"));
    }
}

namespace {
// A file that fails like a pulled network drive when the reader comes back
// for more after its first read-ahead.
class FailingReadFile : public CFile {
public:
    bool ReadFromSystem(void* data, std::size_t size, std::size_t& got, unsigned long& error) override {
        if (m_reads++ == 0) return CFile::ReadFromSystem(data, size, got, error);
        got = 0;
        error = ERROR_NETNAME_DELETED;
        return false;
    }

private:
    int m_reads = 0;
};

// Files in the system's temporary folder, where an import keeps its records on the way.
int TemporaryFileCount() {
    char folder[MAX_PATH + 1];
    GetTempPathA(sizeof folder, folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "*").c_str(), &found);
    int count = 0;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) ++count;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return count;
}
}  // namespace

TEST_F(ImportTest, AFileErrorWhileReadingEndsTheRunAndReachesTheCaller) {
    // More rows than one read-ahead holds, so that the failure comes mid-file.
    std::vector<std::string> rows(6000, D(2005, 1, 1) + ";1;1;1");
    rows.front() = kHeading;
    const std::string text = Csv(rows);
    ASSERT_GT(text.size(), 64u * 1024u);
    WriteFileBytes(table, text);
    auto failing = [&](std::string name, const AppSettings& s) -> std::unique_ptr<CTableFile> {
        auto csv = std::make_unique<CCsvTableFile>(std::make_unique<FailingReadFile>());
        csv->SetSeparator(s.listSeparator);
        if (csv->OpenForRead(name) != 0) return nullptr;
        return csv;
    };
    MessageLog messages;
    const int temporaryFiles = TemporaryFileCount();
    bool raised = false;
    try {
        ImportTable(database, table, "", "My Car", *settings, nullptr, failing);
    } catch (const CFileException& error) {
        raised = true;
        EXPECT_EQ(error.GetOsError(), static_cast<unsigned long>(ERROR_NETNAME_DELETED));
    }
    EXPECT_TRUE(raised);
    EXPECT_FALSE(FileExists(database));
    EXPECT_EQ(TemporaryFileCount(), temporaryFiles) << "the records kept on the way are gone";
    EXPECT_TRUE(messages.Messages().empty());
}
