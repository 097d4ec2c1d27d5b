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
#include "resource.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>
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

int Usage() {
    std::fprintf(stderr,
                 "usage: rtconv [OPTIONS] export DATABASE TABLE\n"
                 "       rtconv [OPTIONS] import TABLE NEWDATABASE CARNAME [PREVIOUSDATABASE]\n"
                 "       rtconv cars BACKUPFOLDER\n"
                 "options: --separator=TEXT  CSV separator (default: the locale's list separator)\n"
                 "         --nocr            line breaks in cells written as blanks (default: kept)\n"
                 "         --cancel          answer the first row prompt with Cancel\n");
    return 2;
}

class OleSession {
public:
    OleSession() { CoInitialize(nullptr); }
    ~OleSession() { CoUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
};

int RunCommand(const std::vector<std::string>& args, const AppSettings& settings) {
    const std::string& command = args[0];
    if (command == "export" && args.size() == 3) return ExportDatabase(args[1], args[2], settings, nullptr);
    if (command == "import" && (args.size() == 4 || args.size() == 5))
        return ImportTable(args[2], args[1], args.size() == 5 ? args[4] : std::string(), args[3], settings, nullptr);
    if (command == "cars" && args.size() == 2) {
        const std::vector<CarEntry> cars = FindCars(args[1] + "\\roadtallydb*.pdb", args[1]);
        for (const CarEntry& car : cars) std::printf("%s\t%s\n", car.name.c_str(), car.path.c_str());
        return static_cast<int>(cars.size());
    }
    return -2;
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    bool cancel = false;
    std::string separator = AppSettings::LocaleListSeparator();
    int exportNoCr = 0;
    const std::string separatorOption = "--separator=";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cancel")
            cancel = true;
        else if (arg == "--nocr")
            exportNoCr = 1;
        else if (arg.rfind(separatorOption, 0) == 0 && arg.size() > separatorOption.size())
            separator = arg.substr(separatorOption.size());
        else if (arg.rfind("--", 0) == 0)
            return Usage();
        else
            args.emplace_back(argv[i]);
    }
    if (args.empty()) return Usage();

    OleSession ole;
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
        result = RunCommand(args, settings);
        if (result == -2) return Usage();
    } catch (const CException& error) {
        // What the dialog would show for an error no pipeline handles.
        const std::string text = error.GetErrorMessage();
        PrintLine("message: ", text.empty() ? LoadResourceString(IDS_INTERNAL_ERROR) : text);
        result = -1;
    }
    std::printf("result: %d\n", result);
    return result >= 0 ? 0 : 1;
}
