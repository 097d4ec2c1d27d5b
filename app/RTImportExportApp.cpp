#include "RTImportExportApp.h"

#include "AppSettings.h"
#include "MainDialog.h"
#include "OleSession.h"
#include "Profile.h"

#include <windows.h>
#include <commctrl.h>

const char* const CRTImportExportApp::kRegistryKey = "Kestrelix";

int CRTImportExportApp::Run() {
    COleSession ole;
    // The controls of the common-controls library (progress bar, tool tips)
    // in their themed version.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SetRegistryKey(kRegistryKey);

    AppSettings settings;
    settings.LoadSettings();
    CMainDialog dialog(&settings);
    dialog.DoModal();
    return 0;
}
