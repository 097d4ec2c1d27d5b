#include "Profile.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <string>

using namespace testpalm;

namespace {
class ProfileTest : public PalmDesktopTest {
protected:
    const std::string key = ProfileKeyPath("Options");
};
}  // namespace

TEST_F(ProfileTest, LivesUnderTheCompanyAndApplicationAndIsCreatedOnReading) {
    EXPECT_EQ(key, "Software\\Kestrelix\\desktop_tests\\Options");
    ASSERT_FALSE(RegistryKeyExists(key));
    EXPECT_EQ(ProfileString("Options", "palmuser", "Jane"), "Jane");
    EXPECT_EQ(ProfileInt("Options", "exportnocr", 7), 7);
    EXPECT_TRUE(RegistryKeyExists(key));
}

TEST_F(ProfileTest, ValuesAreStoredWithTheirRegistryTypes) {
    ASSERT_TRUE(SetProfileString("Options", "lastfile", "C:\\Data\\fuel 2005.csv"));
    ASSERT_TRUE(SetProfileInt("Options", "exportnocr", -2));
    const RawValue text = ReadRawValue(key, "lastfile");
    EXPECT_EQ(text.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text.bytes, std::string("C:\\Data\\fuel 2005.csv\0", 22));
    const RawValue number = ReadRawValue(key, "exportnocr");
    EXPECT_EQ(number.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number.bytes, DwordBytes(0xFFFFFFFE));
    EXPECT_EQ(ProfileString("Options", "lastfile", ""), "C:\\Data\\fuel 2005.csv");
    EXPECT_EQ(ProfileInt("Options", "exportnocr", 0), -2);
}

TEST_F(ProfileTest, StringsOfAnyLengthReadBackWhole) {
    for (std::size_t length : {0u, 999u, 1000u, 4095u, 70000u}) {
        std::string text(length, 'x');
        for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + i % 26);
        ASSERT_TRUE(SetProfileString("Options", "palmuser", text));
        EXPECT_EQ(ProfileString("Options", "palmuser", "default"), text) << length;
    }
}

TEST_F(ProfileTest, StoredTextWithoutItsNulOrWithTextAfterItEndsSafely) {
    WriteRawValue(key, "palmuser", REG_SZ, "Jane");
    EXPECT_EQ(ProfileString("Options", "palmuser", ""), "Jane");
    WriteRawValue(key, "palmuser", REG_SZ, std::string("Bob\0Smith", 9));
    EXPECT_EQ(ProfileString("Options", "palmuser", ""), "Bob");
    WriteRawValue(key, "palmuser", REG_SZ, "");
    EXPECT_EQ(ProfileString("Options", "palmuser", "default"), "");
}

TEST_F(ProfileTest, ValuesOfAnotherTypeGiveTheDefault) {
    WriteRawValue(key, "palmuser", REG_DWORD, DwordBytes(5));
    WriteRawValue(key, "lastfile", REG_EXPAND_SZ, std::string("%TEMP%\\a.csv", 13));
    WriteRawValue(key, "exportnocr", REG_SZ, std::string("1", 2));
    WriteRawValue(key, "ignoreimporterrors", REG_BINARY, std::string("\1\0", 2));
    EXPECT_EQ(ProfileString("Options", "palmuser", "Jane"), "Jane");
    EXPECT_EQ(ProfileString("Options", "lastfile", "none"), "none");
    EXPECT_EQ(ProfileInt("Options", "exportnocr", 3), 3);
    EXPECT_EQ(ProfileInt("Options", "ignoreimporterrors", 4), 4);
}
