#include "ConvertTestSupport.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace testsupport;

namespace {
using RunResult = ProgramRun;

// Runs rtconv, which the build puts beside the test programs.
RunResult RunRtconv(const std::string& arguments) { return RunProgram(ProgramFolder() + "\\rtconv.exe", arguments); }
}  // namespace

TEST(Rtconv, ExportsImportsAndListsCars) {
    const std::string folder = NewFolder("rtconv");
    WriteCarDatabase(folder + "\\RoadtallyDBGolf.pdb", CCarRecord("Golf"),
                     {Fillup(Day(2005, 1, 1), 10, 10, 10), Fillup(Day(2005, 1, 2), 20, 20, 20)});

    RunResult cars = RunRtconv("cars \"" + folder + "\"");
    EXPECT_NE(cars.output.find("Golf\t" + folder + "\\RoadtallyDBGolf.pdb\n"), std::string::npos) << cars.output;
    EXPECT_NE(cars.output.find("result: 1\n"), std::string::npos);
    EXPECT_EQ(cars.exitCode, 0u);

    RunResult exported = RunRtconv("export \"" + folder + "\\RoadtallyDBGolf.pdb\" \"" + folder + "\\golf.csv\"");
    EXPECT_NE(exported.output.find("result: 0\n"), std::string::npos) << exported.output;
    EXPECT_EQ(exported.exitCode, 0u);

    RunResult tracker = RunRtconv("--format=trackers --decimal-comma export \"" + folder + "\\RoadtallyDBGolf.pdb\" \"" +
                                  folder + "\\tracktor.csv\"");
    EXPECT_NE(tracker.output.find("file: " + folder + "\\tracktor.csv\nstatus: Exported to "), std::string::npos)
        << tracker.output;
    EXPECT_NE(ReadFileBytes(folder + "\\tracktor.csv").find("2005-01-02,\"2,0\",\"0,20\",\"0,20\",true"),
              std::string::npos);

    RunResult imported = RunRtconv("import \"" + folder + "\\golf.csv\" \"" + folder + "\\new.pdb\" Golf \"" + folder +
                             "\\RoadtallyDBGolf.pdb\"");
    EXPECT_NE(imported.output.find("result: 2\n"), std::string::npos) << imported.output;
    EXPECT_EQ(ReadEntries(folder + "\\new.pdb").size(), 2u);

    // A bad row answered Cancel: its message is printed, nothing is written.
    const std::string separator = LocaleListSeparator();
    const std::string cells = separator + "1" + separator + "1" + separator + "1\r\n";
    WriteFileBytes(folder + "\\bad.csv",
                   ShortDate(Day(2005, 1, 1)) + cells + "nodate" + cells + ShortDate(Day(2005, 1, 3)) + cells);
    RunResult cancelled = RunRtconv("import \"" + folder + "\\bad.csv\" \"" + folder + "\\cancelled.pdb\" Golf --cancel");
    EXPECT_NE(cancelled.output.find("message: Error reading " + folder + "\\bad.csv line 2\\nInvalid date.\n"),
              std::string::npos)
        << cancelled.output;
    EXPECT_NE(cancelled.output.find("result: 0\n"), std::string::npos);
    EXPECT_FALSE(FileExists(folder + "\\cancelled.pdb"));

    RunResult failed = RunRtconv("export \"" + folder + "\\missing.pdb\" \"" + folder + "\\x.csv\"");
    EXPECT_NE(failed.output.find("message: Error: Can't read file " + folder + "\\missing.pdb\n"), std::string::npos);
    EXPECT_NE(failed.output.find("result: -1\n"), std::string::npos);
    EXPECT_EQ(failed.exitCode, 1u);
}

namespace {
constexpr char kDesktopKey[] = "Software\\Palm Computing\\Pilot Desktop";
constexpr char kButtonKey[] = "Software\\Palm Computing\\Pilot Desktop\\ApplicationRUDUV";
constexpr char kOwnSettingsKey[] = "Software\\Kestrelix\\rtconv";

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
}  // namespace

TEST(Rtconv, LeavesTheRegistryAloneAndTakesItsCsvOptionsFromTheCommandLine) {
    // Palm Desktop shows the program's button; the driver's own settings
    // (none) must neither remove it nor be created.
    const bool hadDesktopKey = KeyExists(kDesktopKey);
    HKEY button = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kButtonKey, 0, nullptr, 0, KEY_WRITE, nullptr, &button, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(button, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>("RUDUV"), 6);
    RegCloseKey(button);
    RegDeleteTreeA(HKEY_CURRENT_USER, kOwnSettingsKey);

    const std::string folder = NewFolder("rtconvregistry");
    Entry entry = Fillup(Day(2005, 1, 1), 10, 10, 10, "two\nlines");
    WriteCarDatabase(folder + "\\RoadtallyDBGolf.pdb", CCarRecord("Golf"), {entry});
    const struct {
        std::string options;
        char separator;
        std::string note;
    } cases[] = {{"", LocaleListSeparator()[0], "two\nlines"},
                 {"--separator=| --nocr", '|', "two lines"},
                 {"\"--separator=\t\"", '\t', "two\nlines"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        RunResult exported = RunRtconv(c.options + " export \"" + folder + "\\RoadtallyDBGolf.pdb\" \"" + folder +
                                       "\\golf.csv\"");
        EXPECT_EQ(exported.output, "result: 0\n");
        const auto rows = SplitWrittenCsv(ReadFileBytes(folder + "\\golf.csv"), c.separator);
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_EQ(rows[1].size(), 7u);
        EXPECT_EQ(rows[1][5], c.note);

        RunResult imported = RunRtconv(c.options + " import \"" + folder + "\\golf.csv\" \"" + folder +
                                       "\\new.pdb\" Golf");
        EXPECT_EQ(imported.output, "result: 1\n");
    }
    EXPECT_TRUE(KeyExists(kButtonKey));
    EXPECT_FALSE(KeyExists(kOwnSettingsKey));
    EXPECT_EQ(RunRtconv("--unknown export a b").exitCode, 2u);
    RegDeleteTreeA(HKEY_CURRENT_USER, hadDesktopKey ? kButtonKey : kDesktopKey);
}


// Through the spreadsheet application when the prefix has one, else through
// the program's own workbook table file: the same database back either way.
TEST(Rtconv, WorkbooksGoThroughTheSpreadsheetApplicationOrTheProgramsOwn) {
    COleSession ole;
    // Run again by tools/test-codepage.sh under code page 1251, where the
    // folder and the workbook have Cyrillic names ("Дорога", "Журнал").
    const std::string folder = NewFolder("rtconv-workbook" + InSystemCodePage(L"\u0414\u043e\u0440\u043e\u0433\u0430"));
    const std::string database = folder + "\\RoadtallyDBGolf.pdb";
    const std::string book = folder + "\\golf" + InSystemCodePage(L"\u0416\u0443\u0440\u043d\u0430\u043b") + ".xls";
    Entry partial = Fillup(Day(2005, 1, 2), 1234567, 0x0FFFFFFF, 0x80000000u | 45123, "full\nline", "Fuel \x80");
    partial.record.partial = true;
    Entry refund = Fillup(Day(2005, 1, 3), 40, 1999, 4523, "(refund)", "Fuel \x80");
    refund.record.priceNegative = true;
    const std::vector<Entry> entries = {Fillup(Day(2005, 1, 1), 10, 116, 1000, "2005", ""), partial, refund,
                                        Recurring(Day(2005, 2, 1), 12000, Day(2031, 12, 31), 12, "Insurance")};
    WriteCarDatabase(database, CCarRecord("Golf"), entries);

    RunResult exported = RunRtconv("export \"" + database + "\" \"" + book + "\"");
    EXPECT_EQ(exported.output, "result: 0\n");

    // Row 1, the heading, is never seen by the import.
    RunResult imported = RunRtconv("import \"" + book + "\" \"" + folder + "\\new.pdb\" Golf");
    EXPECT_EQ(imported.output, "result: 4\n");
    const std::vector<CFillupRecord> back = ReadEntries(folder + "\\new.pdb");
    const std::vector<CFillupRecord> original = ReadEntries(database);
    ASSERT_EQ(back.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        const CFillupRecord& was = entries[i].record;
        EXPECT_EQ(back[i].date, was.date);
        EXPECT_EQ(back[i].mileage, was.recurring ? 0u : was.mileage);
        EXPECT_EQ(back[i].price, was.price);
        EXPECT_EQ(back[i].priceNegative, was.priceNegative);
        EXPECT_EQ(back[i].partial, was.partial);
        EXPECT_EQ(back[i].recurring, was.recurring);
        EXPECT_EQ(back[i].note, was.note);
        // A record without a category reads as category 0's label.
        EXPECT_EQ(back[i].categoryName, original[i].categoryName);
    }
    EXPECT_EQ(back[0].fillAmount, 1000u);
    EXPECT_EQ(back[1].fillAmount, 0x80000000u | 45123);  // 45.123 stays in thousandths
    EXPECT_EQ(back[3].recurringEndDate, Day(2031, 12, 31));
    EXPECT_EQ(back[3].recurringInterval, 12);
    // Exported again over its own workbook: replaced, never left to a prompt.
    EXPECT_EQ(RunRtconv("export \"" + database + "\" \"" + book + "\"").output, "result: 0\n");
}
