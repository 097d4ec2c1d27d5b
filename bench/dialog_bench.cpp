// Times the export and the import of a full-size car log (65,535 records)
// run from the program's main dialog, as a user runs them: the file dialogs
// answered, the progress bar moving, the dialog's messages pumped.  Beside
// them, the same pipelines run without a window in the same process (what
// the console driver runs after its start-up).  A command's time is the time
// its progress bar shows, so the file dialogs and the answer's timer do not
// count.  Each runs several times; the best time counts, since the machine's
// other work only ever adds to it.
//   dialog_bench [RUNS]
#include "AppSettings.h"
#include "BenchLog.h"
#include "DrivenDialog.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "Message.h"
#include "PalmDesktopFolder.h"
#include "Profile.h"
#include "RTImportExportApp.h"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {
// What the progress bar went through during one command.
struct BarWatch {
    LARGE_INTEGER shownAt = {};
    double shownSeconds = 0;
    int moves = 0;
    int paints = 0;
};

double SecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK WatchBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    BarWatch& watch = *reinterpret_cast<BarWatch*>(data);
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) QueryPerformanceCounter(&watch.shownAt);
        else watch.shownSeconds = SecondsSince(watch.shownAt);
        break;
    case PBM_SETPOS:
        ++watch.moves;
        break;
    case WM_PAINT:
        ++watch.paints;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The command's button clicked in the running dialog, its file dialog
// answered with the file and (for an import) the car name.
BarWatch RunCommand(DrivenMainDialog& dialog, int command, const std::string& file, const char* carName) {
    BarWatch watch;
    HWND bar = dialog.Item(IDC_PROGRESS);
    SetWindowSubclass(bar, WatchBar, 1, reinterpret_cast<DWORD_PTR>(&watch));
    {
        ScopedFileAnswer answer(FileAnswer{file, 0, carName, false});
        dialog.Click(command);
    }
    RemoveWindowSubclass(bar, WatchBar, 1);
    return watch;
}

double Best(int runs, const std::function<double()>& run) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) best = std::min(best, run());
    return best;
}

void Report(const char* what, double withoutWindow, const BarWatch& dialog) {
    std::printf("%s: %.3f s from the dialog (bar moved %d times, painted %d times), %.3f s without a window: %.2fx\n",
                what, dialog.shownSeconds, dialog.moves, dialog.paints, withoutWindow,
                withoutWindow > 0 ? dialog.shownSeconds / withoutWindow : 0.0);
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    ScopedMessageResponder quiet([](const ShownMessage&) { return IDOK; });
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SetRegistryKey(CRTImportExportApp::kRegistryKey);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "rt_dialog_bench";
    CPalmDesktopFolder desktop(folder + "\\Palm");
    desktop.AddUser("Bench", "Bench");
    if (!desktop.Save() || !CPalmDesktopFolder::RegisterRoot(desktop.GetRoot())) {
        std::printf("cannot make the Palm Desktop in %s\n", folder.c_str());
        return 1;
    }
    const std::string database = desktop.BackupFolder(desktop.GetUsers()[0]) + "\\RoadtallyDBBench.pdb";
    const std::string table = folder + "\\bench.csv";
    const std::string imported = folder + "\\RoadtallyDBBenchImported.pdb";
    WriteBenchLog(database, 65535);

    AppSettings settings;
    settings.LoadSettings();
    const double exportAlone = Best(runs, [&] {
        DeleteFileA(table.c_str());
        Stopwatch watch;
        ExportDatabase(database, table, settings, nullptr);
        return watch.Seconds();
    });
    const double importAlone = Best(runs, [&] {
        Stopwatch watch;
        ImportTable(imported, table, database, "Bench", settings, nullptr);
        return watch.Seconds();
    });

    settings.palmuser = "Bench";
    BarWatch exportBest, importBest;
    exportBest.shownSeconds = importBest.shownSeconds = 1e9;
    std::string exportStatus, importStatus;
    DrivenMainDialog dialog(&settings, [&](DrivenMainDialog& running) {
        for (int i = 0; i < runs; ++i) {
            // The file dialog would ask before replacing it.
            DeleteFileA(table.c_str());
            const BarWatch exported = RunCommand(running, IDC_EXPORT, table, nullptr);
            exportStatus = running.Status();
            if (exported.shownSeconds < exportBest.shownSeconds) exportBest = exported;
            const BarWatch imported = RunCommand(running, IDC_IMPORT, table, "Bench");
            importStatus = running.Status();
            if (imported.shownSeconds < importBest.shownSeconds) importBest = imported;
        }
    });
    dialog.DoModal();
    OleUninitialize();

    std::printf("%llu database bytes, %llu CSV bytes; best of %d runs each\n",
                static_cast<unsigned long long>(FileSize(database)),
                static_cast<unsigned long long>(FileSize(table)), runs);
    std::printf("dialog: %s / %s\n", exportStatus.c_str(), importStatus.c_str());
    Report("export", exportAlone, exportBest);
    Report("import", importAlone, importBest);
    const bool done = exportStatus.rfind("Exported", 0) == 0 && importStatus.rfind("Rows imported: 65534,", 0) == 0;
    return done ? 0 : 1;
}
