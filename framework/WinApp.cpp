#include "WinApp.h"

#include <windows.h>

namespace {
CWinApp*& Installed() {
    static CWinApp* app = nullptr;
    return app;
}
}  // namespace

CWinApp::CWinApp() : m_previous(Installed()) { Installed() = this; }

CWinApp::~CWinApp() { Installed() = m_previous; }

bool CWinApp::PumpMessage() {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) return false;
    // Keyboard navigation of an active dialog works while a run pumps.
    HWND active = GetActiveWindow();
    if (active != nullptr && IsDialogMessageA(active, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool CWinApp::OnIdle(long) { return false; }

CWinApp& CWinApp::Current() {
    if (Installed() != nullptr) return *Installed();
    static CWinApp fallback;
    return fallback;
}
