#include "InstallQueue.h"
#include "TestPalmDesktop.h"

#include <gtest/gtest.h>

#include <string>

using namespace testpalm;

namespace {
class InstallQueueTest : public PalmDesktopTest {
protected:
    InstallQueueTest() : desktop(MakePalmDesktop({{"Jane", "JaneD"}, {"Bob", "Bob"}})) {}

    std::string Queued(const std::string& user, const std::string& name) const {
        return ReadWholeFile(desktop.InstallFolder(*desktop.FindUser(user)) + "\\" + name);
    }

    const CPalmDesktopFolder desktop;
};

constexpr unsigned kConfirmation = MB_OK | MB_ICONINFORMATION;
constexpr unsigned kError = MB_OK | MB_ICONERROR;
}  // namespace

TEST_F(InstallQueueTest, HandsTheFileToTheUsersQueueAndConfirms) {
    const std::string path = folder + "\\RoadtallyDBMy_Car.pdb";
    WriteWholeFile(path, "first");
    EXPECT_TRUE(QueueForInstall("Jane", path));
    EXPECT_EQ(Queued("Jane", "RoadtallyDBMy_Car.pdb"), "first");

    // The same car again: the new file replaces the one waiting.
    WriteWholeFile(path, "second import");
    EXPECT_TRUE(QueueForInstall("Jane", path));
    EXPECT_EQ(Queued("Jane", "RoadtallyDBMy_Car.pdb"), "second import");
    EXPECT_EQ(Queued("Bob", "RoadtallyDBMy_Car.pdb"), "");

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "The new Roadtally database will be installed at the next HotSync of user Jane.");
    EXPECT_EQ(messages[0].type, kConfirmation);
}

TEST_F(InstallQueueTest, AFailedHandOverIsReportedAndNeverConfirmed) {
    const std::string path = folder + "\\RoadtallyDBfuel_2005.pdb";
    WriteWholeFile(path, "db");
    const std::string missing = folder + "\\RoadtallyDBNone.pdb";
    const std::string tooLong = folder + "\\" + std::string(1000, 'x') + ".pdb";
    struct Case {
        std::string user, path;
    } cases[] = {
        {"", path},           // no user chosen: not handed over at all
        {"Nobody", path},     // the library knows no such user
        {"Jane", missing},    // the library finds no such file
        {"Jane", tooLong},    // would reach the library cut, naming another file
    };
    for (const Case& c : cases) {
        messages.clear();
        EXPECT_FALSE(QueueForInstall(c.user, c.path)) << c.user << " " << c.path;
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Error: The new Roadtally database could not be handed to Palm Desktop for user " +
                                        c.user + ".\nIt is kept in " + c.path + ".");
        EXPECT_EQ(messages[0].type, kError);
    }
    EXPECT_EQ(Queued("Jane", "RoadtallyDBfuel_2005.pdb"), "");
}
