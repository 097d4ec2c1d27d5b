#pragma once
// What the program's tests share: a Palm Desktop of the test's own with
// users, some with the sample cars; OLE as start-up prepares it; the main
// dialog run for real with a script.
#include "AppSettings.h"
#include "DrivenDialog.h"
#include "TestPalmDesktop.h"

#include <string>
#include <vector>

class AppTest : public testpalm::PalmDesktopTest {
protected:
    struct TestUser {
        std::string name;
        bool withCars;
    };

    AppTest();
    ~AppTest() override;

    // Registers a Palm Desktop with these users; users with cars get the
    // sample cars in their backup folder.
    CPalmDesktopFolder MakeUsers(const std::vector<TestUser>& users);
    // Starts as the program does (settings made and loaded) and runs the
    // main dialog with the script.
    void RunDialog(const DrivenMainDialog::Script& script);

    // Messages shown since the last call, and forgets them.
    std::vector<ShownMessage> TakeMessages();

    // Whether the prefix has a spreadsheet application.
    static bool SpreadsheetRegistered();
    // The file dialogs list workbooks first, CSV files second.
    static int CsvFilter() { return 2; }
};
