// RTImportExport: moves Roadtally's car databases between Palm Desktop and
// spreadsheets.
#include "RTImportExportApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CRTImportExportApp app;
    return app.Run();
}
