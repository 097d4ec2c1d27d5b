#include "InstAideLibrary.h"
#include "ProgramRun.h"
#include "SampleCars.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testpalm;

namespace {
class InstAideLibraryTest : public PalmDesktopTest {
protected:
    // The stand-in the build puts beside the test programs, copied to folder.
    std::string CopyStandIn(const std::string& toFolder) const {
        CPalmDesktopFolder::MakeFolder(toFolder);
        const std::string copy = toFolder + "\\INSTAIDE.dll";
        EXPECT_TRUE(CopyFileA((ProgramFolder() + "\\INSTAIDE.dll").c_str(), copy.c_str(), FALSE)) << copy;
        return copy;
    }
};
}  // namespace

TEST_F(InstAideLibraryTest, IsFoundBesideTheProgramElseInPalmDesktopsRegisteredFolder) {
    const std::string program = folder + "\\program";
    const std::string palm = folder + "\\Palm";
    CPalmDesktopFolder::MakeFolder(program);
    CPalmDesktopFolder::MakeFolder(palm);
    const std::string withLibrary = folder + "\\with";
    CopyStandIn(withLibrary);
    struct Case {
        const char* what;
        bool besideProgram;
        const char* key;        // Palm Desktop's key, or none
        std::string pathValue;  // its Core\Path
        std::string expected;
    } cases[] = {
        {"nowhere", false, nullptr, "", ""},
        {"beside the program", true, nullptr, "", program + "\\INSTAIDE.dll"},
        {"beside wins over Palm Desktop's", true, kUsRoboticsKey, withLibrary, program + "\\INSTAIDE.dll"},
        {"Palm Desktop's folder", false, kUsRoboticsKey, withLibrary, withLibrary + "\\INSTAIDE.dll"},
        {"the newer key name, a trailing backslash", false, kPalmComputingKey, withLibrary + "\\",
         withLibrary + "\\INSTAIDE.dll"},
        {"a registered folder without it", false, kUsRoboticsKey, palm, ""},
    };
    for (const Case& c : cases) {
        DeleteRegistryTree(kUsRoboticsKey);
        DeleteRegistryTree(kPalmComputingKey);
        DeleteFileA((program + "\\INSTAIDE.dll").c_str());
        if (c.besideProgram) CopyStandIn(program);
        if (c.key) WriteRawValue(std::string(c.key) + "\\Core", "Path", REG_SZ, c.pathValue + '\0');
        EXPECT_EQ(CInstAideLibrary::Locate(program), c.expected) << c.what;
    }
}

TEST_F(InstAideLibraryTest, AnswersThroughItsOrdinalsAndAsNoPalmDesktopWhenMissing) {
    MakePalmDesktop({{"Jane", "JaneD"}, {"Bob", "Bob"}});
    const CInstAideLibrary standIn(CopyStandIn(folder + "\\lib"));
    ASSERT_TRUE(standIn.IsLoaded());
    EXPECT_EQ(standIn.UserCount(), 2);

    // Not found, and a library of that name that lacks the entries (some
    // other DLL): no users, no folders, nothing queued, empty texts.
    const std::string otherDll = folder + "\\other\\INSTAIDE.dll";
    CPalmDesktopFolder::MakeFolder(folder + "\\other");
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(), otherDll.c_str(), FALSE));
    const CInstAideLibrary missing[] = {CInstAideLibrary(""), CInstAideLibrary(otherDll)};
    for (const CInstAideLibrary& library : missing) {
        EXPECT_EQ(library.UserCount(), -1);
        char text[1000] = "unchanged";
        short nameSize = sizeof text;
        EXPECT_EQ(library.UserName(0, text, &nameSize), -1);
        EXPECT_STREQ(text, "");
        std::strcpy(text, "unchanged");
        int size = sizeof text;
        EXPECT_EQ(library.UserDirectory("Jane", text, &size), -1);
        EXPECT_STREQ(text, "");
        EXPECT_EQ(library.InstallFile("Jane", otherDll.c_str()), -1);
    }
    EXPECT_FALSE(missing[0].IsLoaded());
}

// The converter copied where no INSTAIDE.dll is beside it (and no Palm
// Desktop is registered) starts and converts without a word: converting asks
// Palm Desktop nothing.
TEST_F(InstAideLibraryTest, TheConverterRunsWithoutPalmDesktop) {
    const std::string alone = folder + "\\alone";
    CPalmDesktopFolder::MakeFolder(alone);
    const std::string rtconv = alone + "\\rtconv.exe";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\rtconv.exe").c_str(), rtconv.c_str(), FALSE));
    std::vector<std::string> cars;
    ASSERT_TRUE(WriteSampleCars(alone, cars));

    const ProgramRun run = RunProgram(rtconv, "export \"" + cars.front() + "\" \"" + alone + "\\car.csv\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output, "result: 0\n");
    EXPECT_NE(ReadWholeFile(alone + "\\car.csv").find("Mileage"), std::string::npos);
}
