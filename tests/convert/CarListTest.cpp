#include "CarList.h"
#include "ConvertTestSupport.h"
#include "PalmDesktopFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace testsupport;

namespace {
// The order in which the file system lists a folder's matching files.
std::vector<std::string> ListedOrder(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}
}  // namespace

TEST(CarList, ListsNamedCarsInFileSystemOrderAndSkipsTheRest) {
    const std::string folder = NewFolder("carlist");
    WriteCarDatabase(folder + "\\RoadtallyDBGolf.pdb", CCarRecord("Golf"), {Fillup(Day(2005, 1, 1), 1, 1, 1)});
    WriteCarDatabase(folder + "\\roadtallydbbus.PDB", CCarRecord("Bus"), {});
    WriteCarDatabase(folder + "\\RoadtallyDBNoName.pdb", CCarRecord(""), {});
    WriteFileBytes(folder + "\\RoadtallyDBBroken.pdb", "broken");
    CPalmDatabase empty("RoadtallyDBEmpty", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    ASSERT_EQ(empty.Write(folder + "\\RoadtallyDBEmpty.pdb"), 0);
    WriteCarDatabase(folder + "\\OtherDBCar.pdb", CCarRecord("Other"), {});
    CreateDirectoryA((folder + "\\RoadtallyDBFolder.pdb").c_str(), nullptr);

    const std::string pattern = folder + "\\roadtallydb*.pdb";
    const std::vector<CarEntry> cars = FindCars(pattern, folder);
    std::vector<std::string> expected;
    for (const std::string& name : ListedOrder(pattern)) {
        if (name == "RoadtallyDBGolf.pdb") expected.push_back("Golf|" + folder + "\\" + name);
        if (name == "roadtallydbbus.PDB") expected.push_back("Bus|" + folder + "\\" + name);
    }
    std::vector<std::string> found;
    for (const CarEntry& car : cars) found.push_back(car.name + "|" + car.path);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.size(), 2u);
}

TEST(CarList, NoMatchingFileGivesNoCar) {
    const std::string folder = NewFolder("carlist-empty");
    EXPECT_TRUE(FindCars(folder + "\\roadtallydb*.pdb", folder).empty());
    EXPECT_TRUE(FindCars(folder + "\\no-such-folder\\roadtallydb*.pdb", folder).empty());
}

TEST(CarList, LoadCarListFillsTheComboAndPathsForTheChosenUser) {
    const std::string root = NewFolder("carlist-desktop");
    const std::string previousRoot = CPalmDesktopFolder::RegisteredRoot();
    CPalmDesktopFolder desktop(root);
    desktop.AddUser("Jane", "JaneD");
    ASSERT_TRUE(desktop.Save());
    ASSERT_TRUE(CPalmDesktopFolder::RegisterRoot(root));
    const std::string backup = desktop.BackupFolder(desktop.GetUsers()[0]);
    WriteCarDatabase(backup + "\\RoadtallyDBGolf.pdb", CCarRecord("Golf"), {});

    auto settings = MakeSettings(";");
    EXPECT_EQ(settings->palmuser, "Jane");
    HWND window = CreateWindowExA(0, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CComboBox combo(window);
    combo.AddString("stale entry");
    std::vector<std::string> paths{"stale path"};
    MessageLog messages;
    LoadCarList(combo, paths, *settings);
    ASSERT_EQ(combo.GetCount(), 1);
    EXPECT_EQ(combo.GetLBText(0), "Golf");
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(paths, (std::vector<std::string>{backup + "\\RoadtallyDBGolf.pdb"}));
    EXPECT_TRUE(messages.Messages().empty());

    // A user whose folder Palm Desktop cannot tell: told once, no car listed.
    settings->palmuser = "Nobody";
    LoadCarList(combo, paths, *settings);
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                    "Error getting Palm User Directory. Please save data in Palm Desktop first."}));
    DestroyWindow(window);
    CPalmDesktopFolder::RegisterRoot(previousRoot);
}
