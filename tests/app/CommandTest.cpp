// The Export and Import commands run for real under Wine: the real file
// dialogs answered as a user would, the real pipelines, the install library
// stand-in.
#include "AppTest.h"

#include "ConvertTestSupport.h"
#include "DatabaseName.h"
#include "FileFilters.h"
#include "MessagePump.h"
#include "PalmDatabase.h"
#include "Profile.h"
#include "SampleCars.h"
#include "TestFiles.h"
#include "resource.h"

#include <gtest/gtest.h>

using namespace testpalm;

namespace {
class CommandTest : public AppTest {
protected:
    void SetUp() override { desktop = MakeUsers({{"Jane", true}, {"Bob", false}}); }

    std::string InstallFolder(const std::string& user) const {
        return desktop.InstallFolder(*desktop.FindUser(user));
    }
    // A CSV file exported from Jane's first car through the Export command.
    void ExportFirstCar(const std::string& path) {
        RunDialog([&](DrivenMainDialog& dialog) {
            ScopedFileAnswer answer(FileAnswer{path, CsvFilter(), nullptr, false});
            dialog.Click(IDC_EXPORT);
        });
        ASSERT_NE(ReadWholeFile(path).find("Date"), std::string::npos) << path;
        TakeMessages();
    }
    static std::string TempFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        return temp;
    }

    CPalmDesktopFolder desktop{""};
};

}  // namespace

TEST(InitialFilterIndex, ByTheLastFilesEndingInAnyCase) {
    struct Case {
        const char* name;
        int filter;
    } cases[] = {
        {"C:\\cars\\golf.xls", 1}, {"C:\\cars\\GOLF.XLS", 1}, {"golf.csv", 2}, {"GOLF.Csv", 2},
        {"golf.txt", 3},           {"golf", 0},              {".xl", 0},     {"", 0},
        {"a.b\\noext", 3},  // a dot anywhere counts, as does the name's last three characters
    };
    for (const Case& c : cases) EXPECT_EQ(InitialFilterIndex(c.name), c.filter) << c.name;
}

TEST_F(CommandTest, ExportAddsTheChosenFiltersExtensionAndAsksBeforeReplacingThatFile) {
    struct Case {
        const char* what;
        int filter;           // 0 CSV, 1 All Files, after the CSV filter's own place
        bool existing;        // a file of the extended name is there already
        int answer;           // to the replace question
        const char* written;  // the file the export wrote, relative to the folder; null: none
    } cases[] = {
        {"CSV filter", 0, false, 0, "car.csv"},
        {"All Files", 1, false, 0, "car"},
        {"CSV filter, replace", 0, true, IDYES, "car.csv"},
        {"CSV filter, keep", 0, true, IDNO, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"car", "car.csv"}) DeleteFileA((folder + "\\" + name).c_str());
        if (c.existing) WriteWholeFile(folder + "\\car.csv", "keep me");
        std::vector<ShownMessage> asked;
        ScopedMessageResponder responder([&](const ShownMessage& message) {
            asked.push_back(message);
            return c.answer;
        });
        std::string status;
        RunDialog([&](DrivenMainDialog& dialog) {
            ScopedFileAnswer answer(FileAnswer{folder + "\\car", CsvFilter() + c.filter, nullptr, false});
            dialog.Click(IDC_EXPORT);
            EXPECT_TRUE(answer.Seen().shown);
            status = dialog.Status();
        });
        if (c.existing) {
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0].text, folder + "\\car.csv already exists.\nDo you want to replace it?");
        } else {
            EXPECT_TRUE(asked.empty());
        }
        if (c.written) {
            const std::string path = folder + "\\" + c.written;
            EXPECT_NE(ReadWholeFile(path).find("Date"), std::string::npos);
            EXPECT_EQ(status, "Exported to " + path + ".");
            EXPECT_EQ(ProfileString("Options", "lastfile", ""), path);
        } else {
            EXPECT_EQ(ReadWholeFile(folder + "\\car.csv"), "keep me");
            EXPECT_EQ(status, "");
        }
        // Only the one file: never both the typed and the extended name.
        EXPECT_FALSE(FileExists(folder + "\\car") && FileExists(folder + "\\car.csv"));
    }
}

TEST_F(CommandTest, ExportWithATrackerFilterWritesThatTrackersFilesAndNamesThem) {
    // The tracker entries follow CSV and All Files.
    for (const auto& [afterCsv, side] : {std::pair{2, " - taxes.csv"}, std::pair{3, " - costs.csv"}}) {
        DeleteFileA((folder + "\\car.csv").c_str());
        std::string status;
        RunDialog([&](DrivenMainDialog& dialog) {
            ScopedFileAnswer answer(FileAnswer{folder + "\\car", CsvFilter() + afterCsv, nullptr, false});
            dialog.Click(IDC_EXPORT);
            status = dialog.Status();
        });
        EXPECT_TRUE(FileExists(folder + "\\car.csv") && FileExists(folder + "\\car" + side)) << side;
        EXPECT_EQ(status.rfind("Exported to " + folder + "\\car.csv, " + folder + "\\car", 0), 0u) << status;
        EXPECT_NE(status.find(side), std::string::npos) << status;
        const std::vector<ShownMessage> shown = TakeMessages();
        EXPECT_TRUE(shown.size() == 1 && shown[0].text == status) << side;
    }
}

// The program writes the workbook itself.
TEST_F(CommandTest, AWorkbookNameWithoutTheSpreadsheetApplicationIsWrittenByTheProgram) {
    if (SpreadsheetRegistered()) GTEST_SKIP() << "a spreadsheet application is registered";
    const std::string path = folder + "\\car.xls";
    for (bool earlier : {false, true}) {
        DeleteFileA(path.c_str());
        if (earlier) WriteWholeFile(path, "earlier");
        int asked = 0;
        ScopedMessageResponder responder([&](const ShownMessage&) { return ++asked, IDYES; });
        std::string status;
        RunDialog([&](DrivenMainDialog& dialog) {
            // The workbook filter, and a name without extension.
            ScopedFileAnswer answer(FileAnswer{folder + "\\car", 1, nullptr, false});
            dialog.Click(IDC_EXPORT);
            status = dialog.Status();
        });
        EXPECT_EQ(asked, earlier ? 1 : 0);  // whether to replace it
        EXPECT_EQ(ReadWholeFile(path).substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
        EXPECT_EQ(status, "Exported to " + path + ".");
    }
}

TEST_F(CommandTest, AFailedExportSaysSoOnTheStatusLine) {
    if (!SpreadsheetRegistered()) GTEST_SKIP() << "no spreadsheet application registered in this prefix";
    std::vector<std::string> cars;  // each with a note longer than a workbook cell holds
    ASSERT_TRUE(WriteSampleCars(desktop.BackupFolder(*desktop.FindUser("Jane")), cars));
    for (const std::string& car : cars)
        testsupport::WriteCarDatabase(car, CCarRecord("Long"), {testsupport::Fillup(0, 1, 1, 1, std::string(40000, 'x'))});
    std::string status;
    RunDialog([&](DrivenMainDialog& dialog) {
        ScopedFileAnswer answer(FileAnswer{folder + "\\long.xls", 1, nullptr, false});
        dialog.Click(IDC_EXPORT);
        status = dialog.Status();
    });
    EXPECT_EQ(TakeMessages().at(0).text.rfind("Error writing file\n", 0), 0u);
    EXPECT_EQ(status, "The export to " + folder + "\\long.xls failed.");
}

// Run again by tools/test-codepage.sh under code page 1251: the names chosen
// in the file dialogs are the names the workbook gets.
TEST_F(CommandTest, CodePageWorkbookNamesFromTheFileDialogsAreTheNamesChosen) {
    const std::string road = InSystemCodePage(L"\u0414\u043e\u0440\u043e\u0433\u0430");  // Дорога
    const std::string log = InSystemCodePage(L"\u0416\u0443\u0440\u043d\u0430\u043b");  // Журнал
    if (road.empty() || log.empty() || !SpreadsheetRegistered()) GTEST_SKIP() << "no Cyrillic code page or workbooks";
    CreateDirectoryA((folder + "\\" + road).c_str(), nullptr);
    const std::string path = folder + "\\" + road + "\\" + log + ".xls";
    std::string exported, imported;
    RunDialog([&](DrivenMainDialog& dialog) {
        for (int command : {IDC_EXPORT, IDC_IMPORT}) {
            ScopedFileAnswer answer(FileAnswer{path, 1, "Golf", false});
            dialog.Click(command);
            (command == IDC_EXPORT ? exported : imported) = dialog.Status();
        }
    });
    EXPECT_EQ(exported, "Exported to " + path + ".");
    EXPECT_EQ(imported.rfind("Rows imported: ", 0), 0u) << imported;
}

TEST_F(CommandTest, ImportWithoutCarNameTakesTheFilesTitleAndQueuesItForTheUser) {
    const std::string table = folder + "\\fuel 2006.csv";
    ExportFirstCar(table);
    const std::string temporary = TempFolder() + "RoadtallyDBfuel_2006.pdb";
    DeleteFileA(temporary.c_str());
    FileDialogSeen seen;
    std::string status;
    RunDialog([&](DrivenMainDialog& dialog) {
        ScopedFileAnswer answer(FileAnswer{table, 0, "", false});
        dialog.Click(IDC_IMPORT);
        seen = answer.Seen();
        status = dialog.Status();
        EXPECT_FALSE(IsWindowVisible(dialog.Item(IDC_PROGRESS)));
    });
    // The dialog offered the user's cars with the selected one preset.
    EXPECT_EQ(seen.cars.size(), 3u);
    EXPECT_FALSE(seen.carBoxText.empty());
    EXPECT_EQ(seen.startName, "fuel 2006.csv");  // the last file, from the export

    const std::vector<ShownMessage> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "The new Roadtally database will be installed at the next HotSync of user Jane.");
    EXPECT_EQ(shown[0].type, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    const std::string queued = InstallFolder("Jane") + "\\RoadtallyDBfuel_2006.pdb";
    ASSERT_TRUE(FileExists(queued));
    EXPECT_EQ(ReadWholeFile(queued), ReadWholeFile(temporary));
    CPalmDatabase database;
    ASSERT_EQ(database.Read(queued), 0);
    EXPECT_EQ(database.GetName(), "RoadtallyDBfuel_2006");
    const int rows = database.GetRecordCount() - 1;
    EXPECT_GT(rows, 0);
    EXPECT_EQ(status, "Rows imported: " + std::to_string(rows) + ", queued for the next HotSync of user Jane.");
}

TEST_F(CommandTest, AnAbandonedImportQueuesNothingAndAFailedOneSaysWhy) {
    const std::string table = folder + "\\bad.csv";
    ExportFirstCar(table);
    WriteWholeFile(table, ReadWholeFile(table) + "\"not a date\"\r\n");
    // Every row imports but the last, which the user answers with Cancel.
    std::vector<ShownMessage> shown;
    bool disabledDuringRun = false, progressDuringRun = false;
    HWND window = nullptr;
    ScopedMessageResponder responder([&](const ShownMessage& message) {
        shown.push_back(message);
        if (window != nullptr) {
            disabledDuringRun = !IsWindowEnabled(GetDlgItem(window, IDC_PALMUSER)) &&
                                !IsWindowEnabled(GetDlgItem(window, IDC_CAR)) &&
                                !IsWindowEnabled(GetDlgItem(window, IDC_IMPORT)) &&
                                !IsWindowEnabled(GetDlgItem(window, IDC_EXPORT));
            progressDuringRun = IsWindowVisible(GetDlgItem(window, IDC_PROGRESS)) != FALSE;
        }
        return (message.type & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK;
    });
    std::string status;
    RunDialog([&](DrivenMainDialog& dialog) {
        window = dialog.Window();
        ScopedFileAnswer answer(FileAnswer{table, 0, "Abandoned", false});
        dialog.Click(IDC_IMPORT);
        status = dialog.Status();
        EXPECT_FALSE(IsWindowVisible(dialog.Item(IDC_PROGRESS)));
        EXPECT_TRUE(dialog.Enabled(IDC_IMPORT));
        EXPECT_TRUE(dialog.Enabled(IDC_EXPORT));
        EXPECT_TRUE(dialog.Enabled(IDC_PALMUSER));
    });
    ASSERT_EQ(shown.size(), 1u);  // the row's prompt, nothing after it
    EXPECT_EQ(shown[0].text.rfind("Error reading " + table + " line ", 0), 0u) << shown[0].text;
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_TRUE(progressDuringRun);
    EXPECT_FALSE(FileExists(InstallFolder("Jane") + "\\RoadtallyDBAbandoned.pdb"));
    EXPECT_EQ(status, "Nothing was imported.");

    // The new database cannot be written (a folder holds its name): the
    // pipeline's result is negative and the system's reason is shown.
    const std::string blocked = TempFolder() + "RoadtallyDBBlocked.pdb";
    CreateDirectoryA(blocked.c_str(), nullptr);
    shown.clear();
    window = nullptr;
    RunDialog([&](DrivenMainDialog& dialog) {
        ScopedFileAnswer answer(FileAnswer{folder + "\\fuel.csv", 0, "Blocked", false});
        WriteWholeFile(folder + "\\fuel.csv", ReadWholeFile(table).substr(0, ReadWholeFile(table).find("\"not")));
        dialog.Click(IDC_IMPORT);
        status = dialog.Status();
    });
    RemoveDirectoryA(blocked.c_str());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text.rfind("Error reading file\n", 0), 0u) << shown.back().text;
    EXPECT_GT(shown.back().text.size(), std::string("Error reading file\n").size());
    EXPECT_EQ(shown.back().type, static_cast<unsigned>(MB_OK));
    EXPECT_FALSE(FileExists(InstallFolder("Jane") + "\\RoadtallyDBBlocked.pdb"));
    EXPECT_EQ(status, "Nothing was imported.");
}

// Quit while an import runs: the run stops at its next look at the window's
// messages, nothing is queued, and the window closes with the settings
// written.
TEST_F(CommandTest, QuitDuringAnImportStopsItAndClosesTheWindow) {
    const std::string table = folder + "\\long.csv";
    ExportFirstCar(table);
    std::string rows = ReadWholeFile(table);
    const std::string firstRow = rows.substr(rows.find('\n') + 1, rows.find('\n', rows.find('\n') + 1) - rows.find('\n'));
    rows += "\"not a date\"\r\n";
    for (int i = 0; i < 3000; ++i) rows += firstRow;
    WriteWholeFile(table, rows);
    HWND window = nullptr;
    std::vector<ShownMessage> shown;
    ScopedMessageResponder responder([&](const ShownMessage& message) {
        shown.push_back(message);
        // At the bad row the user clicks Quit, then skips the row; the click
        // takes longer than the run waits between two looks at the queue, so
        // the rest of the rows cannot outrun it.
        if (window != nullptr) PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_QUIT, BN_CLICKED),
                                            reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_QUIT)));
        Sleep(2 * CRecordPump::kIntervalMs);
        return IDOK;
    });
    RunDialog([&](DrivenMainDialog& dialog) {
        window = dialog.Window();
        ScopedFileAnswer answer(FileAnswer{table, 0, "Quit Car", false});
        dialog.Click(IDC_IMPORT);
    });
    // The quit that ended the run also ended the window; none is left over.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ASSERT_EQ(shown.size(), 1u);  // the row's prompt only: no confirmation
    EXPECT_FALSE(FileExists(InstallFolder("Jane") + "\\RoadtallyDBQuit_Car.pdb"));
    EXPECT_EQ(ProfileString("Options", "lastfile", ""), table);
}
