#pragma once
#include "WinApp.h"

// The program's application object: prepares automation and the registry
// settings, runs the main dialog until the user quits, and cleans up.
class CRTImportExportApp : public CWinApp {
public:
    // The registry key under Software that holds the program's settings.
    static const char* const kRegistryKey;

    // Runs the program; the process's exit code.
    int Run();
};
