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

int CRecordPump::BetweenRecords() {
    const unsigned long now = GetTickCount();
    if (m_pumped && now - m_lastPump < kIntervalMs) return 0;
    m_pumped = true;
    m_lastPump = now;
    if (PumpMessages() != 0) return -1;
    m_wait.Restore();
    return 0;
}
