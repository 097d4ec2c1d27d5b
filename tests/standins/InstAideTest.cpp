#include "InstAide.h"
#include "InstAideErrors.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace testpalm;

namespace {
class InstAideTest : public PalmDesktopTest {};

// A caller's buffer with guard bytes behind the size it gives.
struct GuardedBuffer {
    static constexpr char kGuard = '#';
    char bytes[64];
    GuardedBuffer() { std::memset(bytes, kGuard, sizeof bytes); }
    bool UntouchedFrom(std::size_t offset) const {
        for (std::size_t i = offset; i < sizeof bytes; ++i)
            if (bytes[i] != kGuard) return false;
        return true;
    }
};
}  // namespace

TEST_F(InstAideTest, AnswersNoPalmDesktopUntilOneIsThere) {
    EXPECT_EQ(InstAideUserCount(), kInstAideNoPalmDesktop);  // no root registered
    CPalmDesktopFolder::RegisterRoot(folder);
    EXPECT_EQ(InstAideUserCount(), kInstAideNoPalmDesktop);  // no users.txt
    WriteWholeFile(folder + "\\users.txt", "Jane\tJane\r\nno folder\r\n");
    EXPECT_EQ(InstAideUserCount(), kInstAideNoPalmDesktop);  // a line without a folder
    WriteWholeFile(folder + "\\users.txt", "");
    EXPECT_EQ(InstAideUserCount(), 0);
    // Line ends of either kind, blank lines, a trailing backslash on the root.
    WriteWholeFile(folder + "\\users.txt", "Jane Doe\tJaneD\n\nBob\tB\r\n");
    CPalmDesktopFolder::RegisterRoot(folder + "\\");
    EXPECT_EQ(InstAideUserCount(), 2);
    char directory[100];
    int size = sizeof directory;
    EXPECT_GT(InstAideUserDirectory("Bob", directory, &size), 0);
    EXPECT_EQ(directory, folder + "\\B");
}

TEST_F(InstAideTest, NamesFitTheCallersBufferOrAreRefused) {
    MakePalmDesktop({{"Jane", "J"}, {std::string(40, 'L'), "L"}});
    GuardedBuffer name;
    short size = 5;  // "Jane" and its NUL, exactly
    EXPECT_EQ(InstAideUserName(0, name.bytes, &size), 4);
    EXPECT_STREQ(name.bytes, "Jane");
    EXPECT_TRUE(name.UntouchedFrom(5));

    GuardedBuffer cut;
    size = 40;  // one byte short of the long name
    EXPECT_EQ(InstAideUserName(1, cut.bytes, &size), kInstAideBufferTooSmall);
    EXPECT_EQ(cut.bytes[0], '\0');
    EXPECT_TRUE(cut.UntouchedFrom(1));
    EXPECT_EQ(size, 41);  // what it takes

    GuardedBuffer none;
    size = 0;
    EXPECT_EQ(InstAideUserName(0, none.bytes, &size), kInstAideBufferTooSmall);
    EXPECT_TRUE(none.UntouchedFrom(0));
    size = 64;
    EXPECT_EQ(InstAideUserName(2, none.bytes, &size), kInstAideUnknownUser);
    EXPECT_EQ(none.bytes[0], '\0');
    EXPECT_EQ(InstAideUserName(0, nullptr, &size), kInstAideBadArgument);
    EXPECT_EQ(InstAideUserName(0, none.bytes, nullptr), kInstAideBadArgument);
}

TEST_F(InstAideTest, DirectoriesFitTheCallersBufferOrAreRefused) {
    const CPalmDesktopFolder desktop = MakePalmDesktop({{"Jane", "J"}});
    const std::string expected = desktop.GetRoot() + "\\J";
    std::string directory(expected.size() + 1, '#');
    int size = static_cast<int>(expected.size() + 1);
    EXPECT_EQ(InstAideUserDirectory("Jane", &directory[0], &size), static_cast<int>(expected.size()));
    EXPECT_EQ(directory, expected + '\0');

    GuardedBuffer small;
    size = 10;
    EXPECT_EQ(InstAideUserDirectory("Jane", small.bytes, &size), kInstAideBufferTooSmall);
    EXPECT_EQ(small.bytes[0], '\0');
    EXPECT_TRUE(small.UntouchedFrom(1));
    EXPECT_EQ(size, static_cast<int>(expected.size() + 1));
    size = 64;
    EXPECT_EQ(InstAideUserDirectory("jane", small.bytes, &size), kInstAideUnknownUser);
    EXPECT_EQ(InstAideUserDirectory(nullptr, small.bytes, &size), kInstAideBadArgument);
}

TEST_F(InstAideTest, InstallCopiesIntoTheUsersQueueAndRefusesWhatItCannotQueue) {
    const CPalmDesktopFolder desktop = MakePalmDesktop({{"Jane", "J"}});
    const std::string queue = desktop.InstallFolder(*desktop.FindUser("Jane"));
    const std::string file = folder + "\\RoadtallyDBA.pdb";
    WriteWholeFile(file, "one");
    RemoveTree(queue);  // made again when needed
    EXPECT_EQ(InstAideInstallFile("Jane", file.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(queue + "\\RoadtallyDBA.pdb"), "one");
    EXPECT_EQ(ReadWholeFile(file), "one");  // copied, not moved

    EXPECT_EQ(InstAideInstallFile("Bob", file.c_str()), kInstAideUnknownUser);
    EXPECT_EQ(InstAideInstallFile("Jane", (folder + "\\none.pdb").c_str()), kInstAideFileMissing);
    EXPECT_EQ(InstAideInstallFile("Jane", folder.c_str()), kInstAideFileMissing);
    EXPECT_EQ(InstAideInstallFile("Jane", nullptr), kInstAideBadArgument);
}

TEST_F(InstAideTest, UsersFileKeepsNamesAsTheyAre) {
    CPalmDesktopFolder desktop(folder + "\\Palm\\");
    desktop.AddUser("Jos\xE9 M\xFCller", "JoseM");
    desktop.AddUser("  spaced  ", "S");
    ASSERT_TRUE(desktop.Save());
    CPalmDesktopFolder loaded(folder + "\\Palm");
    ASSERT_TRUE(loaded.Load());
    ASSERT_EQ(loaded.GetUsers().size(), 2u);
    EXPECT_EQ(loaded.GetUsers()[0].name, "Jos\xE9 M\xFCller");
    EXPECT_EQ(loaded.GetUsers()[1].name, "  spaced  ");
    EXPECT_EQ(loaded.UserDirectory(loaded.GetUsers()[0]), folder + "\\Palm\\JoseM");

    CPalmDesktopFolder broken(folder + "\\Broken");
    broken.AddUser("Tab\tName", "T");
    EXPECT_FALSE(broken.Save());
}
