// The main dialog run for real under Wine: start-up, user changes, the
// system menu, tool tips, the file filters, and the settings at quit.
#include "AppTest.h"

#include "AboutDialog.h"
#include "ExportDatabase.h"
#include "Profile.h"
#include "ProgramRun.h"
#include "SampleCars.h"
#include "TestFiles.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>

using namespace testpalm;

namespace {
const std::vector<std::string> kSampleCars = {"Family Estate", "My Car", "Van: Delivery/2"};

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Looks at the About box once it shows, keeps its link, and closes it.
std::string g_aboutLink;
void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND about = FindWindowA(nullptr, "About RTImportExport");
    if (about == nullptr || !g_aboutLink.empty()) return;
    char link[200] = {};
    GetDlgItemTextA(about, IDC_HYPERLINK, link, sizeof link);
    g_aboutLink = link;
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

class MainDialogTest : public AppTest {
protected:
    void SetUp() override { MakeUsers({{"Jane", true}, {"Bob", false}, {"Ann", true}}); }
    const std::string options = ProfileKeyPath("Options");
};
}  // namespace

TEST_F(MainDialogTest, StartsWithTheSavedUserElseTheFirstSilently) {
    struct Case {
        const char* saved;  // null: no value stored
        const char* selected;
        bool cars;
    } cases[] = {
        {nullptr, "Jane", true},
        {"Ann", "Ann", true},
        {"Bob", "Bob", false},   // a user without cars: no car list, no Export, no status at start
        {"ann", "Jane", true},   // names compare exactly
        {"Gone", "Jane", true},  // no longer in Palm Desktop
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved ? c.saved : "(none)");
        DeleteRegistryTree("Software\\Kestrelix");
        if (c.saved) SetProfileString("Options", "palmuser", c.saved);
        RunDialog([&](DrivenMainDialog& dialog) {
            EXPECT_EQ(dialog.Entries(IDC_PALMUSER), (std::vector<std::string>{"Jane", "Bob", "Ann"}));
            EXPECT_EQ(dialog.Selected(IDC_PALMUSER), c.selected);
            EXPECT_EQ(Sorted(dialog.Entries(IDC_CAR)), c.cars ? kSampleCars : std::vector<std::string>{});
            EXPECT_EQ(dialog.Selected(IDC_CAR).empty(), !c.cars);
            EXPECT_EQ(dialog.Enabled(IDC_CAR), c.cars);
            EXPECT_EQ(dialog.Enabled(IDC_EXPORT), c.cars);
            EXPECT_TRUE(dialog.Enabled(IDC_IMPORT));
            EXPECT_EQ(dialog.Status(), "");
            EXPECT_FALSE(IsWindowVisible(dialog.Item(IDC_PROGRESS)));
        });
        EXPECT_TRUE(TakeMessages().empty());
        EXPECT_EQ(ReadRawValue(options, "palmuser").bytes, std::string(c.selected) + '\0');
    }
}

TEST_F(MainDialogTest, AUserChangeReloadsTheCarsAndQuitWritesEverySetting) {
    SetProfileInt("Options", "ignoreimporterrors", 1);
    RunDialog([](DrivenMainDialog& dialog) {
        dialog.ChooseUser(1);
        EXPECT_TRUE(dialog.Entries(IDC_CAR).empty());
        EXPECT_FALSE(dialog.Enabled(IDC_CAR));
        EXPECT_FALSE(dialog.Enabled(IDC_EXPORT));
        EXPECT_TRUE(dialog.Enabled(IDC_IMPORT));
        EXPECT_EQ(dialog.Status(), "No Roadtally data for this user.");
        dialog.ChooseUser(2);
        EXPECT_EQ(Sorted(dialog.Entries(IDC_CAR)), kSampleCars);
        EXPECT_TRUE(dialog.Enabled(IDC_CAR));
        EXPECT_TRUE(dialog.Enabled(IDC_EXPORT));
        EXPECT_EQ(dialog.Status(), "");
    });
    EXPECT_EQ(ReadRawValue(options, "palmuser").bytes, std::string("Ann", 4));
    EXPECT_EQ(ReadRawValue(options, "lastfile").bytes, std::string(1, '\0'));
    EXPECT_EQ(ReadRawValue(options, "ignoreimporterrors").bytes, DwordBytes(1));
    for (const char* flag : {"exportnocr", "palmdesktopbutton"})
        EXPECT_EQ(ReadRawValue(options, flag).bytes, DwordBytes(0)) << flag;
}

TEST_F(MainDialogTest, SystemMenuAboutBoxToolTipsAndDragIcon) {
    RunDialog([](DrivenMainDialog& dialog) {
        char entry[100] = {};
        GetMenuStringA(GetSystemMenu(dialog.Window(), FALSE), IDM_ABOUTBOX, entry, sizeof entry, MF_BYCOMMAND);
        EXPECT_STREQ(entry, "&About RTImportExport...");

        // The About box opens modally from the system menu; a timer looks at
        // it and closes it.
        g_aboutLink.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseAboutBox);
        dialog.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);  // the low four bits do not count
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_aboutLink, CAboutDialog::kWebPage);

        struct Tip {
            int control;
            const char* text;  // null: no tool tip
        } tips[] = {{IDC_IMPORT, "Import Excel or CSV data into the Roadtally application."},
                    {IDC_EXPORT, "Export Roadtally data to Excel or CSV format."},
                    {IDC_QUIT, nullptr},
                    {IDC_PALMUSER, nullptr}};
        for (const Tip& tip : tips) {
            NMTTDISPINFOA info = {};
            info.hdr.hwndFrom = nullptr;
            info.hdr.idFrom = reinterpret_cast<UINT_PTR>(dialog.Item(tip.control));
            info.hdr.code = TTN_GETDISPINFOA;
            info.uFlags = TTF_IDISHWND;
            dialog.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
            if (tip.text == nullptr) {
                EXPECT_EQ(info.lpszText, nullptr) << tip.control;
                continue;
            }
            ASSERT_TRUE(IS_INTRESOURCE(info.lpszText)) << tip.control;
            char text[200] = {};
            LoadStringA(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), text, sizeof text);
            EXPECT_STREQ(text, tip.text);
        }
        EXPECT_NE(dialog.SendMessage(WM_QUERYDRAGICON), 0);
    });
}

TEST_F(MainDialogTest, FileDialogsOfferWorkbooksFirstWithoutTheSpreadsheetApplication) {
    if (SpreadsheetRegistered()) GTEST_SKIP() << "a spreadsheet application is registered";
    for (int command : {IDC_EXPORT, IDC_IMPORT}) {
        FileDialogSeen seen;
        RunDialog([&](DrivenMainDialog& dialog) {
            ScopedFileAnswer answer(FileAnswer{"", 0, nullptr, true});
            dialog.Click(command);
            seen = answer.Seen();
        });
        ASSERT_TRUE(seen.shown) << command;
        std::vector<std::string> filters{"MS Excel 97/2000 (*.xls)", "Comma Separated Values (*.csv)",
                                         "All Files (*.*)"};
        // Export alone writes for the fuel trackers too.
        if (command == IDC_EXPORT)
            filters.insert(filters.end(), {"LubeLogger records (*.csv)", "Fuel log for other trackers (*.csv)"});
        EXPECT_EQ(seen.filters, filters);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

// The spreadsheet stand-in, when this build has one, registered for the test
// as "Excel.Application": the workbook filter comes first.
TEST_F(MainDialogTest, FileDialogsOfferWorkbooksFirstWithTheSpreadsheetApplication) {
    const std::string standIn = ProgramFolder() + "\\RtSpreadsheet.dll";
    if (!FileExists(standIn)) GTEST_SKIP() << "no spreadsheet stand-in in this build";
    const HMODULE server = LoadLibraryA(standIn.c_str());
    ASSERT_NE(server, nullptr);
    using Entry = HRESULT(STDAPICALLTYPE*)();
    const auto registerServer = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(server, "DllRegisterServer")));
    const auto unregisterServer =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(server, "DllUnregisterServer")));
    // A prefix that has it registered already keeps it so.
    const bool registeredBefore = SpreadsheetRegistered();
    ASSERT_TRUE(registerServer && unregisterServer && SUCCEEDED(registerServer()));
    FileDialogSeen seen;
    RunDialog([&](DrivenMainDialog& dialog) {
        ScopedFileAnswer answer(FileAnswer{"", 0, nullptr, true});
        dialog.Click(IDC_IMPORT);
        seen = answer.Seen();
    });
    if (!registeredBefore) unregisterServer();
    FreeLibrary(server);
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"MS Excel 97/2000 (*.xls)", "Comma Separated Values (*.csv)",
                                                      "All Files (*.*)"}));
}

// Without Palm Desktop the dialog opens empty; an import still makes the new
// database and tells where it is kept, since there is no one to hand it to.
TEST_F(AppTest, WithoutPalmDesktopTheDialogOpensEmptyAndAnImportIsKept) {
    std::vector<std::string> cars;
    ASSERT_TRUE(WriteSampleCars(folder, cars));
    const std::string table = folder + "\\car.csv";
    {
        AppSettings settings;
        ASSERT_EQ(ExportDatabase(cars.front(), table, settings, nullptr), 0);
    }
    TakeMessages();
    std::string status;
    RunDialog([&](DrivenMainDialog& dialog) {
        EXPECT_TRUE(dialog.Entries(IDC_PALMUSER).empty());
        EXPECT_TRUE(dialog.Entries(IDC_CAR).empty());
        EXPECT_FALSE(dialog.Enabled(IDC_EXPORT));
        EXPECT_TRUE(dialog.Enabled(IDC_IMPORT));
        ScopedFileAnswer answer(FileAnswer{table, 0, "Kept", false});
        dialog.Click(IDC_IMPORT);
        status = dialog.Status();
    });
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string kept = std::string(temp) + "RoadtallyDBKept.pdb";
    const std::vector<ShownMessage> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Error: No Palm Desktop found!\n-1");
    EXPECT_NE(shown[1].text.find("It is kept in " + kept + "."), std::string::npos) << shown[1].text;
    EXPECT_TRUE(FileExists(kept));
    EXPECT_EQ(status.rfind("Rows imported: ", 0), 0u) << status;
    EXPECT_NE(status.find(", kept in " + kept + "."), std::string::npos) << status;
}

// The test program carries the program's manifest.  Wine draws every program
// at the display's resolution whatever it declares, so the declaration is
// read back as Windows reads it from the process's activation context:
// without it Windows draws the program at 96 dots per inch and stretches it
// on a 150 % display.
TEST(ProgramManifest, DeclaresTheProgramAwareOfTheDisplaysResolution) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                     L"dpiAware", value, 64, &written))
        << "no dpiAware setting, error " << GetLastError();
    // "true", or "true/pm" for per-monitor awareness where Windows has it.
    EXPECT_EQ(std::wstring(value).substr(0, 4), L"true");
}
