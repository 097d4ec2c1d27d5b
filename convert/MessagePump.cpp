#include "MessagePump.h"

#include "WinApp.h"

#include <windows.h>

int PumpMessages() {
    CWinApp& app = CWinApp::Current();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!app.PumpMessage()) {
            PostQuitMessage(0);
            return -1;
        }
    }
    for (long count = 0; app.OnIdle(count); ++count) {
    }
    return 0;
}
