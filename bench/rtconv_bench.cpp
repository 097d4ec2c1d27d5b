// Times the export and the import of a full-size car log (65,535 records)
// through the console driver rtconv, as a user's script would run them: each
// command in a process of its own, the same driver's start-up alone (listing
// the cars of an empty folder) taken off, beside the time the system takes
// to copy the same files.  Each command runs several times; the best time
// counts, since the machine's other work only ever adds to it.
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

double Best(int runs, const std::string& arguments) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const double seconds = RunSeconds(arguments);
        if (seconds < 0) return -1.0;
        best = std::min(best, seconds);
    }
    return best;
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
    const std::string empty = folder + "rtconv_bench_empty";
    const std::string database = folder + "RoadtallyDBBench.pdb";
    const std::string table = folder + "rtconv_bench.csv";
    const std::string imported = folder + "RoadtallyDBBenchImported.pdb";
    const std::string copy = folder + "rtconv_bench.copy";
    CreateDirectoryA(empty.c_str(), nullptr);
    WriteBenchLog(database, 65535);

    const double startup = Best(runs, "cars \"" + empty + "\"");
    const double exportTotal = Best(runs, "export \"" + database + "\" \"" + table + "\"");
    const double importTotal = Best(runs, "import \"" + table + "\" \"" + imported + "\" Bench \"" + database + "\"");
    if (startup < 0 || exportTotal < 0 || importTotal < 0) {
        std::printf("rtconv failed\n");
        return 1;
    }
    const double tableCopy = BestCopy(runs, table, copy);
    const double databaseCopy = BestCopy(runs, imported, copy);
    const double exportNet = exportTotal - startup;
    const double importNet = importTotal - startup;
    std::printf("rtconv start-up (cars of an empty folder): %.3f s; best of %d runs each\n", startup, runs);
    std::printf("export: %.3f s net (%.3f s in all) for %llu CSV bytes; copying that file: %.4f s (%.0fx)\n",
                exportNet, exportTotal, static_cast<unsigned long long>(FileSize(table)), tableCopy,
                tableCopy > 0 ? exportNet / tableCopy : 0.0);
    std::printf("import: %.3f s net (%.3f s in all) for %llu database bytes; copying that file: %.4f s (%.0fx)\n",
                importNet, importTotal, static_cast<unsigned long long>(FileSize(imported)), databaseCopy,
                databaseCopy > 0 ? importNet / databaseCopy : 0.0);
    return 0;
}
