#include "ConvertTestSupport.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {
using RunResult = ProgramRun;

// Runs rtconv, which the build puts beside the test programs.
RunResult RunRtconv(const std::string& arguments) { return RunProgram(ProgramFolder() + "\\rtconv.exe", arguments); }
}  // namespace

TEST(Rtconv, ExportsImportsAndListsCars) {
    const std::string folder = NewFolder("rtconv");
    WriteCarDatabase(folder + "\\RoadtallyDBGolf.pdb", CCarRecord("Golf"),
                     {Fillup(Day(2005, 1, 1), 10, 10, 10), Fillup(Day(2005, 1, 2), 20, 20, 20)});

    RunResult cars = RunRtconv("cars \"" + folder + "\"");
    EXPECT_NE(cars.output.find("Golf\t" + folder + "\\RoadtallyDBGolf.pdb\n"), std::string::npos) << cars.output;
    EXPECT_NE(cars.output.find("result: 1\n"), std::string::npos);
    EXPECT_EQ(cars.exitCode, 0u);

    RunResult exported = RunRtconv("export \"" + folder + "\\RoadtallyDBGolf.pdb\" \"" + folder + "\\golf.csv\"");
    EXPECT_NE(exported.output.find("result: 0\n"), std::string::npos) << exported.output;
    EXPECT_EQ(exported.exitCode, 0u);

    RunResult imported = RunRtconv("import \"" + folder + "\\golf.csv\" \"" + folder + "\\new.pdb\" Golf \"" + folder +
                             "\\RoadtallyDBGolf.pdb\"");
    EXPECT_NE(imported.output.find("result: 2\n"), std::string::npos) << imported.output;
    EXPECT_EQ(ReadEntries(folder + "\\new.pdb").size(), 2u);

    // A bad row answered Cancel: its message is printed, nothing is written.
    const std::string separator = LocaleListSeparator();
    const std::string cells = separator + "1" + separator + "1" + separator + "1\r\n";
    WriteFileBytes(folder + "\\bad.csv",
                   ShortDate(Day(2005, 1, 1)) + cells + "nodate" + cells + ShortDate(Day(2005, 1, 3)) + cells);
    RunResult cancelled = RunRtconv("import \"" + folder + "\\bad.csv\" \"" + folder + "\\cancelled.pdb\" Golf --cancel");
    EXPECT_NE(cancelled.output.find("message: Error reading " + folder + "\\bad.csv line 2\\nInvalid date.\n"),
              std::string::npos)
        << cancelled.output;
    EXPECT_NE(cancelled.output.find("result: 0\n"), std::string::npos);
    EXPECT_FALSE(FileExists(folder + "\\cancelled.pdb"));

    RunResult failed = RunRtconv("export \"" + folder + "\\missing.pdb\" \"" + folder + "\\x.csv\"");
    EXPECT_NE(failed.output.find("message: Error: Can't read file " + folder + "\\missing.pdb\n"), std::string::npos);
    EXPECT_NE(failed.output.find("result: -1\n"), std::string::npos);
    EXPECT_EQ(failed.exitCode, 1u);
}
