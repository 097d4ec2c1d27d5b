// The open-file dialog with the car-name box, run for real and driven from a
// timer while it is open.
#include "FileDialogEx.h"
#include "TestFiles.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace {
// What the test saw in the open dialog.
struct Seen {
    bool found = false;
    std::vector<std::string> entries;
    std::string boxText;
    DWORD selection = 0;
    std::string label;
    bool inCheckBoxPlace = false;
    bool insideDialog = false;
};

struct DialogDriver {
    std::function<void(HWND dialog)> act;
    bool done = false;
};
DialogDriver* g_driver = nullptr;

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    if (GetDlgItem(window, IDC_CARNAME) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveOpenDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver == nullptr || g_driver->done) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    g_driver->done = true;
    g_driver->act(dialog);
}

std::string ItemText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

Seen Look(HWND dialog) {
    Seen seen;
    seen.found = true;
    HWND box = GetDlgItem(dialog, IDC_CARNAME);
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char entry[1024] = {};
        SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        seen.entries.push_back(entry);
    }
    seen.boxText = ItemText(dialog, IDC_CARNAME);
    seen.selection = static_cast<DWORD>(SendMessageA(box, CB_GETEDITSEL, 0, 0));
    seen.label = ItemText(dialog, IDC_CARNAME_LABEL);
    RECT boxRect = {}, checkRect = {};
    GetWindowRect(box, &boxRect);
    GetWindowRect(GetDlgItem(dialog, chx1), &checkRect);
    seen.inCheckBoxPlace = boxRect.left == checkRect.left && boxRect.top == checkRect.top;
    RECT client = {};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT both = {};
    UnionRect(&both, &client, &boxRect);
    seen.insideDialog = EqualRect(&both, &client) != FALSE;
    return seen;
}
}  // namespace

TEST(FileDialogEx, CarBoxListsThePresetCarsAndHandsBackWhatIsLeftInIt) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "fuel 2006.csv";
    WriteFileBytes(file, "\"Date\"\r\n");
    const std::string longName(45, 'x');

    struct Case {
        const char* name;
        std::vector<std::string> cars;
        int selected;
        const char* typed;  // null: leave the box as it starts
        std::string startText;
        std::string carName;
    };
    const std::vector<Case> cases = {
        {"preset car", {"Beta", "Alpha", "Gamma"}, 0, nullptr, "Beta", "Beta"},
        {"typed over", {"Beta", "Alpha", "Gamma"}, 1, "Family van", "Alpha", "Family van"},
        {"no car chosen", {"Beta", "Alpha"}, -1, nullptr, "", ""},
        {"index past the list", {"Beta"}, 3, nullptr, "", ""},
        {"long name cut", {}, -1, longName.c_str(), "", longName.substr(0, 39)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFileDialogEx dialog(true, nullptr, file.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                             "Comma Separated Values (*.csv)|*.csv|All Files (*.*)|*.*||");
        dialog.SetCarNames(c.cars, c.selected);
        Seen seen;
        DialogDriver driver{[&](HWND open) {
            seen = Look(open);
            if (c.typed != nullptr) SetDlgItemTextA(open, IDC_CARNAME, c.typed);
            PostMessageA(open, WM_COMMAND, IDOK, 0);
        }};
        g_driver = &driver;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, DriveOpenDialog);
        const INT_PTR result = dialog.DoModal();
        KillTimer(nullptr, timer);
        g_driver = nullptr;

        ASSERT_TRUE(seen.found);
        EXPECT_EQ(result, IDOK);
        // The main dialog's order, although the box sorts what is typed.
        EXPECT_EQ(seen.entries, c.cars);
        EXPECT_EQ(seen.boxText, c.startText);
        EXPECT_EQ(LOWORD(seen.selection), 0);
        EXPECT_EQ(HIWORD(seen.selection), c.startText.size());
        EXPECT_EQ(seen.label, "Car Name");
        EXPECT_TRUE(seen.inCheckBoxPlace);
        // Even where the hidden check box lies below the dialog's last row.
        EXPECT_TRUE(seen.insideDialog);
        EXPECT_EQ(dialog.GetCarName(), c.carName);
        EXPECT_EQ(dialog.GetPathName(), file);
        EXPECT_EQ(dialog.GetFileTitle(), "fuel 2006");
        EXPECT_EQ(dialog.GetFileExt(), "csv");
    }
    DeleteFileA(file.c_str());
}
