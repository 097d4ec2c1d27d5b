#include "CarRecord.h"
#include "InstAide.h"
#include "Module.h"
#include "PalmDatabase.h"
#include "SampleCars.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testpalm;

namespace {
class MakePalmDesktopTest : public PalmDesktopTest {
protected:
    // Runs the tool from beside this test program; its exit code.
    static DWORD RunTool(const std::string& arguments) {
        std::string path = ModuleFilePath();
        path = path.substr(0, path.find_last_of('\\') + 1) + "make-palm-desktop.exe";
        std::string command = "\"" + path + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return 0xFFFFFFFF;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    static std::vector<std::string> Databases(const std::string& backup) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((backup + "\\*.pdb").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(entry.cFileName);
        while (FindNextFileA(search, &entry));
        FindClose(search);
        return names;
    }
};
}  // namespace

TEST_F(MakePalmDesktopTest, SampleCarsAreRoadtallyDatabasesNamedAfterTheirCars) {
    std::vector<std::string> paths;
    ASSERT_TRUE(WriteSampleCars(folder, paths));
    ASSERT_GE(paths.size(), 2u);
    for (const std::string& path : paths) {
        CPalmDatabase database;
        ASSERT_EQ(database.Read(path), 0) << path;
        EXPECT_EQ(path, folder + "\\" + database.GetName() + ".pdb");
        EXPECT_EQ(database.GetName().rfind("RoadtallyDB", 0), 0u);
        EXPECT_EQ(database.GetCreator(), MakePalmCode("RtLg"));
        EXPECT_EQ(database.GetType(), MakePalmCode("DATA"));
        ASSERT_GT(database.GetRecordCount(), 1);
        CCarRecord car;
        car.ParseCarRecord(database.GetRecord(0));
        EXPECT_FALSE(car.carName.empty());
    }
    EXPECT_EQ(paths.size(), Databases(folder).size());
}

TEST_F(MakePalmDesktopTest, MakesUsersFoldersAndCarsThatTheInstallLibraryFinds) {
    const std::string root = folder + "\\Palm Desktop";
    ASSERT_EQ(RunTool("\"" + root + "\" \"Jane Doe\" --no-cars Bob=B \"A/B: C.\""), 0u);
    EXPECT_EQ(CPalmDesktopFolder::RegisteredRoot(), root);
    ASSERT_EQ(InstAideUserCount(), 3);
    char text[1000];
    short nameSize = sizeof text;
    InstAideUserName(2, text, &nameSize);
    EXPECT_STREQ(text, "A/B: C.");
    int size = sizeof text;
    ASSERT_GT(InstAideUserDirectory("A/B: C.", text, &size), 0);
    EXPECT_EQ(text, root + "\\A_B_ C");
    size = sizeof text;
    ASSERT_GT(InstAideUserDirectory("Bob", text, &size), 0);
    EXPECT_EQ(text, root + "\\B");

    EXPECT_GE(Databases(root + "\\Jane Doe\\backup").size(), 2u);
    EXPECT_TRUE(Databases(root + "\\B\\backup").empty());
    EXPECT_GE(Databases(root + "\\A_B_ C\\backup").size(), 2u);

    EXPECT_EQ(RunTool(""), 2u);
    EXPECT_EQ(RunTool("\"" + root + "\" Jane --no-cars"), 2u);
}
