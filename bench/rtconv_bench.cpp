// Times the export and the import of a full-size car log (65,535 records)
// through the console driver rtconv, as a user's script would run them: each
// command in a process of its own, net of the same commands on a log of the
// car record alone (the driver's start-up and its work on any file), beside
// the time the system takes to copy the two files, the database and the CSV.
// Each command runs several times; the best time counts, since the machine's
// other work only ever adds to it.  The files stay in the temporary folder
// for bench/against-script.sh, which runs the generic script on them.
//   rtconv_bench [RUNS]
#include "BenchLog.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::string Beside(const std::string& name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// Seconds from starting the process to its end; negative when it fails.
double RunSeconds(const std::string& arguments) {
    std::string commandLine = "\"" + Beside("rtconv.exe") + "\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(nul);
        return -1.0;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = watch.Seconds();
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(nul);
    return exitCode == 0 ? seconds : -1.0;
}

double BestCopy(int runs, const std::string& from, const std::string& to) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) best = std::min(best, CopySeconds(from, to));
    DeleteFileA(to.c_str());
    return best;
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = temp;
    const std::string copy = folder + "rtconv_bench.copy";
    struct Log {
        std::string database, table, imported;
        double exportSeconds = 1e9, importSeconds = 1e9;
    };
    Log full{folder + "RoadtallyDBBench.pdb", folder + "rtconv_bench.csv", folder + "RoadtallyDBBenchImported.pdb"};
    Log one{folder + "RoadtallyDBOne.pdb", folder + "rtconv_bench_one.csv", folder + "RoadtallyDBOneImported.pdb"};
    WriteBenchLog(full.database, 65535);
    WriteBenchLog(one.database, 1);
    // The commands take turns, so that the machine's drifts reach the full
    // log and the one-record log alike.
    for (int run = 0; run < runs; ++run)
        for (Log* log : {&one, &full}) {
            const double exportSeconds = RunSeconds("export \"" + log->database + "\" \"" + log->table + "\"");
            const double importSeconds =
                RunSeconds("import \"" + log->table + "\" \"" + log->imported + "\" Bench \"" + log->database + "\"");
            if (exportSeconds < 0 || importSeconds < 0) {
                std::printf("rtconv failed\n");
                return 1;
            }
            log->exportSeconds = std::min(log->exportSeconds, exportSeconds);
            log->importSeconds = std::min(log->importSeconds, importSeconds);
        }
    const double copySeconds = BestCopy(runs, full.database, copy) + BestCopy(runs, full.table, copy);
    const double exportNet = full.exportSeconds - one.exportSeconds;
    const double importNet = full.importSeconds - one.importSeconds;
    std::printf("best of %d runs; a log of the car record alone: export %.3f s, import %.3f s\n", runs,
                one.exportSeconds, one.importSeconds);
    std::printf("copying the database (%llu bytes) and the CSV (%llu bytes): %.4f s\n",
                static_cast<unsigned long long>(FileSize(full.database)),
                static_cast<unsigned long long>(FileSize(full.table)), copySeconds);
    std::printf("export: %.3f s net (%.3f s in all), %.1fx the copy\n", exportNet, full.exportSeconds,
                exportNet / copySeconds);
    std::printf("import: %.3f s net (%.3f s in all), %.1fx the copy\n", importNet, full.importSeconds,
                importNet / copySeconds);
    // For bench/against-script.sh.
    std::printf("net seconds: export %.4f import %.4f copy %.4f\n", exportNet, importNet, copySeconds);
    return 0;
}
