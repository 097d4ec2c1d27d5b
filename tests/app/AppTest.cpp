#include "AppTest.h"

#include "Profile.h"
#include "SampleCars.h"

#include <ole2.h>

AppTest::AppTest() {
    EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    SetRegistryKey("Kestrelix");
}

AppTest::~AppTest() { OleUninitialize(); }

CPalmDesktopFolder AppTest::MakeUsers(const std::vector<TestUser>& users) {
    std::vector<std::pair<std::string, std::string>> named;
    for (const TestUser& user : users) named.emplace_back(user.name, user.name);
    CPalmDesktopFolder desktop = MakePalmDesktop(named);
    for (const TestUser& user : users) {
        if (!user.withCars) continue;
        std::vector<std::string> written;
        EXPECT_TRUE(WriteSampleCars(desktop.BackupFolder(*desktop.FindUser(user.name)), written));
    }
    return desktop;
}

void AppTest::RunDialog(const DrivenMainDialog::Script& script) {
    AppSettings settings;
    settings.LoadSettings();
    DrivenMainDialog dialog(&settings, script);
    EXPECT_NE(dialog.DoModal(), -1);
}

std::vector<ShownMessage> AppTest::TakeMessages() {
    std::vector<ShownMessage> taken;
    taken.swap(messages);
    return taken;
}

bool AppTest::SpreadsheetRegistered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}
