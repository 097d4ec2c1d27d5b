#include "AppSettings.h"
#include "PalmUsers.h"
#include "Profile.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace testpalm;

namespace {
class AppSettingsTest : public PalmDesktopTest {
protected:
    const std::string options = ProfileKeyPath("Options");
    const std::string button = std::string(kUsRoboticsKey) + "\\ApplicationRUDUV";
};
}  // namespace

TEST_F(AppSettingsTest, FirstRunTakesTheFirstUserAndWritesEveryValueAtExit) {
    MakePalmDesktop({{"Jane Doe", "DoeJ"}, {"Bob", "Bob"}, {"Ann", "Ann"}});
    // A registration left by an earlier run goes, since the setting is 0.
    WriteRawValue(button, "Name", REG_SZ, std::string("RUDUV", 6));
    {
        AppSettings settings;
        settings.LoadSettings();
        EXPECT_EQ(settings.palmuser, "Jane Doe");
        EXPECT_EQ(settings.exportnocr, 0);
        EXPECT_EQ(settings.ignoreimporterrors, 0);
        EXPECT_EQ(settings.palmdesktopbutton, 0);
        EXPECT_EQ(settings.lastfile, "");
        EXPECT_FALSE(RegistryKeyExists(button));
        settings.SaveSettings();
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ReadRawValue(options, "palmuser").bytes, std::string("Jane Doe\0", 9));
    EXPECT_EQ(ReadRawValue(options, "palmuser").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRawValue(options, "lastfile").bytes, std::string("\0", 1));
    for (const char* flag : {"ignoreimporterrors", "exportnocr", "palmdesktopbutton"}) {
        EXPECT_EQ(ReadRawValue(options, flag).type, static_cast<DWORD>(REG_DWORD)) << flag;
        EXPECT_EQ(ReadRawValue(options, flag).bytes, DwordBytes(0)) << flag;
    }
    EXPECT_FALSE(RegistryKeyExists(button));
}

TEST_F(AppSettingsTest, StoredValuesWinOverTheDefaultsAndSurviveARun) {
    MakePalmDesktop({{"Jane", "Jane"}, {"Bob", "Bob"}});
    const std::string longPath = "C:\\" + std::string(3000, 'p') + "\\fuel.csv";
    SetProfileString("Options", "palmuser", "Bob");
    SetProfileInt("Options", "ignoreimporterrors", 1);
    SetProfileInt("Options", "exportnocr", 1);
    SetProfileString("Options", "lastfile", longPath);
    {
        AppSettings settings;
        EXPECT_EQ(settings.palmuser, "Jane");  // before loading: the first user
        settings.LoadSettings();
        EXPECT_EQ(settings.palmuser, "Bob");
        EXPECT_EQ(settings.ignoreimporterrors, 1);
        EXPECT_EQ(settings.exportnocr, 1);
        EXPECT_EQ(settings.lastfile, longPath);
        settings.SaveSettings();
    }
    AppSettings next;
    next.LoadSettings();
    EXPECT_EQ(next.palmuser, "Bob");
    EXPECT_EQ(next.ignoreimporterrors, 1);
    EXPECT_EQ(next.lastfile, longPath);
}

TEST_F(AppSettingsTest, NoUsableUserCountIsReportedWithItsValue) {
    // No Palm Desktop registered: the library answers -1.
    {
        AppSettings settings;
        EXPECT_EQ(settings.palmuser, "");
    }
    // A Palm Desktop without users answers 0.
    MakePalmDesktop({});
    {
        AppSettings settings;
        settings.LoadSettings();
        EXPECT_EQ(settings.palmuser, "");
        EXPECT_TRUE(PalmUserNames().empty());
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Error: No Palm Desktop found!\n-1");
    EXPECT_EQ(messages[0].type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(messages[1].text, "Error: No Palm Desktop found!\n0");
}

TEST_F(AppSettingsTest, UsersAreListedInTheLibrarysOrderWithTheirFolders) {
    const CPalmDesktopFolder desktop = MakePalmDesktop({{"Zoe", "Z"}, {"Jane Doe", "JaneD"}, {"Al", "Al"}});
    EXPECT_EQ(PalmUserNames(), (std::vector<std::string>{"Zoe", "Jane Doe", "Al"}));
    AppSettings settings;
    settings.palmuser = "Jane Doe";
    EXPECT_EQ(settings.GetBackupFolder(), desktop.GetRoot() + "\\JaneD\\backup");
    EXPECT_EQ(settings.GetDatabasePrefix(), desktop.GetRoot() + "\\JaneD\\backup\\roadtallydb");
    EXPECT_TRUE(messages.empty());
}

TEST_F(AppSettingsTest, AnUnknownDirectoryIsReportedAndThePathsStillBuilt) {
    MakePalmDesktop({{"Jane", "Jane"}});
    AppSettings settings;
    settings.palmuser = "Nobody";
    EXPECT_EQ(settings.GetBackupFolder(), "\\backup");
    EXPECT_EQ(settings.GetDatabasePrefix(), "\\backup\\roadtallydb");
    // A name longer than the 1000-byte buffer reaches the library cut, and
    // names no user then.
    settings.palmuser = std::string(5000, 'J');
    EXPECT_EQ(settings.GetBackupFolder(), "\\backup");
    ASSERT_EQ(messages.size(), 3u);
    for (const ShownMessage& message : messages) {
        EXPECT_EQ(message.text, "Error getting Palm User Directory. Please save data in Palm Desktop first.");
        EXPECT_EQ(message.type, static_cast<unsigned>(MB_OK));
    }
}

TEST_F(AppSettingsTest, ListSeparatorIsTheLocales) {
    char locale[10] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, locale, sizeof locale), 0);
    MakePalmDesktop({{"Jane", "Jane"}});
    AppSettings settings;
    EXPECT_EQ(settings.listSeparator, locale);
    // The test runs once in English and once in German.
    const char* unixLocale = std::getenv("LC_ALL");
    if (unixLocale && std::strncmp(unixLocale, "de_DE", 5) == 0) {
        EXPECT_EQ(settings.listSeparator, ";");
    } else if (!unixLocale || std::strncmp(unixLocale, "C", 1) == 0 || std::strncmp(unixLocale, "en", 2) == 0) {
        EXPECT_EQ(settings.listSeparator, ",");
    }
}

namespace {
// Puts the user's list separator back however the test ends: the prefix is
// shared by every test program.
class ListSeparatorRestorer {
public:
    ListSeparatorRestorer() { GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, m_saved, sizeof m_saved); }
    ~ListSeparatorRestorer() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, m_saved); }

private:
    char m_saved[100] = {};
};
}  // namespace

TEST_F(AppSettingsTest, AListSeparatorTheLocaleCannotGiveBecomesAComma) {
    ListSeparatorRestorer restorer;
    const std::pair<const char*, const char*> cases[] = {
        {"abcdefghi", "abcdefghi"},  // nine characters and the NUL fit
        {"abcdefghij", ","},         // one more does not
        {"", ","},                   // CSV files need a separator
    };
    for (const auto& [locale, expected] : cases) {
        ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, locale));
        EXPECT_EQ(AppSettings().listSeparator, expected) << locale;
    }
}
