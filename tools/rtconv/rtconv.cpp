// rtconv: runs the export, import and car-list pipelines from a console, for
// tests, benchmarks and by hand.  Every message the user would see is printed
// as one "message:" line; row prompts are answered OK (or Cancel at the
// first one with --cancel).  Ends with "result: N"; exit code 0 when N >= 0.
// It leaves the registry alone: the CSV separator and the line-feed option
// come from its command line, and Palm Desktop is never asked.
#include "AppSettings.h"
#include "CarList.h"
#include "Exception.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "Message.h"
#include "OleSession.h"
#include "TrackerExport.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {
void PrintLine(const std::string& prefix, const std::string& text) {
    std::string line = prefix;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

constexpr char kUsage[] =
    "usage: rtconv [OPTIONS] export DATABASE TABLE\n"
    "       rtconv [OPTIONS] import TABLE NEWDATABASE CARNAME [PREVIOUSDATABASE]\n"
    "       rtconv cars BACKUPFOLDER\n"
    "       rtconv --help\n"
    "options: --separator=TEXT  CSV separator (default: the locale's list separator)\n"
    "         --nocr            line breaks in cells written as blanks (default: kept)\n"
    "         --cancel          answer the first row prompt with Cancel\n"
    "         --format=lubelogger|trackers  export for a fuel tracker's CSV import\n"
    "         --decimal-comma   with --format: \",\" as the decimal point\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int Help() {
    std::fputs("rtconv converts Roadtally car databases to and from spreadsheet files, for batch work\n"
               "and for backup folders without Palm Desktop.\n\n",
               stdout);
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "  export   writes the car database DATABASE (a RoadtallyDB*.pdb file of a Palm Desktop\n"
               "           backup folder) as TABLE: an Excel 97-2003 workbook for a name ending in\n"
               "           .xls (through Excel when it is installed, else written by rtconv\n"
               "           itself), else a CSV file.  An existing TABLE is replaced.\n"
               "           With --format it writes UTF-8 CSV files for a fuel tracker's import instead:\n"
               "           lubelogger: TABLE (fill-ups), \"TABLE - services\" (one-off costs) and\n"
               "           \"TABLE - taxes\" (recurring costs); trackers: TABLE (fill-ups) and\n"
               "           \"TABLE - costs\".  A file without rows is not written; each file written is\n"
               "           printed as a \"file:\" line, then the car's units and currency as \"status:\".\n"
               "           --decimal-comma is for a LubeLogger server whose culture reads \"40,00\".\n"
               "  import   reads TABLE and writes a complete new database NEWDATABASE for the car\n"
               "           CARNAME, with the car record of PREVIOUSDATABASE when given.  Name it\n"
               "           RoadtallyDB<car name>.pdb and install it with Palm Desktop's Install Tool\n"
               "           to replace the car's database at the next HotSync.\n"
               "  cars     lists the cars whose databases lie in BACKUPFOLDER: name, a tab, path.\n"
               "\n"
               "CSV files use the list separator of the user's locale unless --separator names one.\n"
               "Nothing is read from or written to the registry.  Every message is printed as a\n"
               "\"message:\" line; bad rows are skipped (or, with --cancel, the import is abandoned at\n"
               "the first).  The last line is \"result: N\"; the exit code is 0 when N is 0 or more.\n",
               stdout);
    return 0;
}

struct TrackerOptions {
    std::optional<TrackerProfile> profile;
    bool decimalComma = false;
};

int ExportForTrackerCommand(const std::vector<std::string>& args, const TrackerOptions& options) {
    TrackerExportSummary summary;
    const int result = ExportForTracker(args[1], args[2], *options.profile, options.decimalComma, nullptr, summary);
    for (const std::string& file : summary.files) PrintLine("file: ", file);
    if (result >= 0) PrintLine("status: ", TrackerExportStatus(summary));
    return result;
}

// The table file of an export, made after an existing file of its name is
// deleted, as the program's Export command deletes it: the spreadsheet
// application would stop at a hidden "replace the file?" prompt.
std::unique_ptr<CTableFile> ReplacingTableFile(std::string fileName, const AppSettings& settings) {
    DeleteFileA(fileName.c_str());
    return CreateTableFileForWrite(fileName, settings);
}

// The command's result; empty when the command line names no command.
std::optional<int> RunCommand(const std::vector<std::string>& args, const AppSettings& settings,
                              const TrackerOptions& tracker) {
    const std::string& command = args[0];
    if (tracker.profile) {
        if (command == "export" && args.size() == 3) return ExportForTrackerCommand(args, tracker);
        return std::nullopt;
    }
    if (command == "export" && args.size() == 3)
        return ExportDatabase(args[1], args[2], settings, nullptr, ReplacingTableFile);
    if (command == "import" && (args.size() == 4 || args.size() == 5))
        return ImportTable(args[2], args[1], args.size() == 5 ? args[4] : std::string(), args[3], settings, nullptr);
    if (command == "cars" && args.size() == 2) {
        const std::vector<CarEntry> cars = FindCars(args[1] + "\\roadtallydb*.pdb", args[1]);
        for (const CarEntry& car : cars) std::printf("%s\t%s\n", car.name.c_str(), car.path.c_str());
        return static_cast<int>(cars.size());
    }
    return std::nullopt;
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    bool cancel = false;
    std::string separator = AppSettings::LocaleListSeparator();
    int exportNoCr = 0;
    const std::string separatorOption = "--separator=";
    TrackerOptions tracker;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "/?")
            return Help();
        else if (arg == "--cancel")
            cancel = true;
        else if (arg == "--nocr")
            exportNoCr = 1;
        else if (arg == "--format=lubelogger")
            tracker.profile = TrackerProfile::LubeLogger;
        else if (arg == "--format=trackers")
            tracker.profile = TrackerProfile::Trackers;
        else if (arg == "--decimal-comma")
            tracker.decimalComma = true;
        else if (arg.rfind(separatorOption, 0) == 0 && arg.size() > separatorOption.size())
            separator = arg.substr(separatorOption.size());
        else if (arg.rfind("--", 0) == 0)
            return Usage();
        else
            args.emplace_back(argv[i]);
    }
    if (args.empty() || (tracker.decimalComma && !tracker.profile)) return Usage();

    COleSession ole;
    bool answeredPrompt = false;
    ScopedMessageResponder responder([&](const ShownMessage& message) {
        PrintLine("message: ", message.text);
        const bool prompt = (message.type & MB_TYPEMASK) == MB_OKCANCEL;
        if (prompt && cancel && !answeredPrompt) {
            answeredPrompt = true;
            return IDCANCEL;
        }
        answeredPrompt = answeredPrompt || prompt;
        return IDOK;
    });

    const AppSettings settings(separator, exportNoCr);

    int result = -1;
    try {
        const std::optional<int> ran = RunCommand(args, settings, tracker);
        if (!ran) return Usage();
        result = *ran;
    } catch (const CException& error) {
        // What the dialog would show for an error no pipeline handles.
        const std::string text = error.GetErrorMessage();
        PrintLine("message: ", text.empty() ? LoadResourceString(IDS_INTERNAL_ERROR) : text);
        result = -1;
    }
    std::printf("result: %d\n", result);
    return result >= 0 ? 0 : 1;
}
