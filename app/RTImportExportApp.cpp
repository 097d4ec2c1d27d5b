#include "RTImportExportApp.h"

#include "AppSettings.h"
#include "MainDialog.h"
#include "Profile.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

const char* const CRTImportExportApp::kRegistryKey = "Kestrelix";

namespace {
// OLE for automation (the spreadsheet application), for the whole run.
class COleSession {
public:
    COleSession() : m_initialised(SUCCEEDED(OleInitialize(nullptr))) {}
    ~COleSession() {
        if (m_initialised) OleUninitialize();
    }
    COleSession(const COleSession&) = delete;
    COleSession& operator=(const COleSession&) = delete;

private:
    bool m_initialised;
};
}  // namespace

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
