#include "AppSettings.h"
#include "Module.h"
#include "Profile.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <string>

using namespace testpalm;

namespace {
class DesktopButtonTest : public PalmDesktopTest {
protected:
    // Palm Desktop's key under that name, without users (the install
    // library then answers -1, which the settings report).
    static void MakeKey(const std::string& path) { WriteRawValue(path, "Marker", REG_DWORD, DwordBytes(1)); }
    static std::string ButtonKey(const std::string& desktopKey) { return desktopKey + "\\ApplicationRUDUV"; }

    // Starts and ends a run with the stored setting flag; the setting at the
    // end of the run.
    static int Run(int flag) {
        SetProfileInt("Options", "palmdesktopbutton", flag);
        AppSettings settings;
        settings.LoadSettings();
        settings.SaveSettings();
        return settings.palmdesktopbutton;
    }
};

std::string Text(const std::string& text) { return text + '\0'; }
}  // namespace

TEST_F(DesktopButtonTest, RegistersUnderTheSecondKeyWhenOnlyItIsThere) {
    MakeKey(kPalmComputingKey);
    // A value Palm Desktop added itself stays when the registration is refreshed.
    WriteRawValue(ButtonKey(kPalmComputingKey), "Extra", REG_SZ, Text("kept"));
    EXPECT_EQ(Run(1), 1);

    const std::string key = ButtonKey(kPalmComputingKey);
    EXPECT_EQ(ReadRawValue(key, "Directory").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRawValue(key, "Directory").bytes, Text("Backup"));
    EXPECT_EQ(ReadRawValue(key, "Integrate").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadRawValue(key, "Integrate").bytes, DwordBytes(1));
    EXPECT_EQ(ReadRawValue(key, "Creator").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadRawValue(key, "Creator").bytes, DwordBytes(0x526F7275));
    EXPECT_EQ(ReadRawValue(key, "Name").bytes, Text("RUDUV"));
    EXPECT_EQ(ReadRawValue(key, "Extra").bytes, Text("kept"));

    const RawValue module = ReadRawValue(key, "Module");
    EXPECT_EQ(module.type, static_cast<DWORD>(REG_SZ));
    std::string running = ModuleFilePath();
    ASSERT_GT(running.size(), 4u);
    EXPECT_EQ(module.bytes, Text(running.substr(0, running.size() - 3) + "exe"));
    EXPECT_EQ(ProfileInt("Options", "palmdesktopbutton", -1), 1);
    EXPECT_FALSE(RegistryKeyExists(kUsRoboticsKey));
}

TEST_F(DesktopButtonTest, WithBothKeysOnlyTheFirstGainsAndLosesTheButton) {
    MakeKey(kUsRoboticsKey);
    MakeKey(kPalmComputingKey);
    WriteRawValue(ButtonKey(kPalmComputingKey), "Name", REG_SZ, Text("RUDUV"));

    EXPECT_EQ(Run(1), 1);
    EXPECT_EQ(ReadRawValue(ButtonKey(kUsRoboticsKey), "Name").bytes, Text("RUDUV"));
    EXPECT_FALSE(ReadRawValue(ButtonKey(kPalmComputingKey), "Module").type);

    EXPECT_EQ(Run(0), 0);
    EXPECT_FALSE(RegistryKeyExists(ButtonKey(kUsRoboticsKey)));
    EXPECT_TRUE(RegistryKeyExists(ButtonKey(kPalmComputingKey)));
}

TEST_F(DesktopButtonTest, WithoutPalmDesktopTheSettingEndsAtZero) {
    EXPECT_EQ(Run(1), 0);
    EXPECT_EQ(ProfileInt("Options", "palmdesktopbutton", -1), 0);
    EXPECT_FALSE(RegistryKeyExists(kUsRoboticsKey));
    EXPECT_FALSE(RegistryKeyExists(kPalmComputingKey));
}

TEST_F(DesktopButtonTest, RegistersBesideTheInstallLibrarysOwnSettings) {
    // The usual machine: Palm Desktop's key holds the install library's Core
    // subkey, and the settings find users there.
    MakePalmDesktop({{"Jane", "Jane"}});
    EXPECT_EQ(Run(1), 1);
    EXPECT_EQ(ReadRawValue(ButtonKey(kUsRoboticsKey), "Directory").bytes, Text("Backup"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Run(0), 0);
    EXPECT_FALSE(RegistryKeyExists(ButtonKey(kUsRoboticsKey)));
    EXPECT_TRUE(RegistryKeyExists(std::string(kUsRoboticsKey) + "\\Core"));
}
