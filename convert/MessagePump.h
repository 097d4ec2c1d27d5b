#pragma once
#include "WaitCursor.h"

// Dispatches every waiting window message and then runs the application's
// idle processing, so that the dialog stays alive during a long run on the
// user-interface thread.  0 to go on; -1 when the application has been told
// to quit (the quit message is posted again for the main loop).
int PumpMessages();

// The pump between the records of a long run.  Looking at the queue costs a
// round trip to the window system, which for 65,535 records took longer than
// all the rest of an export, so it pumps at the first record and then at most
// every kIntervalMs; the window still answers within that time, and a quit is
// still seen.  After a pump it puts the wait cursor back, since handling a
// message may have changed it.
class CRecordPump {
public:
    static constexpr unsigned long kIntervalMs = 20;

    explicit CRecordPump(CWaitCursor& wait) : m_wait(wait) {}
    // 0 to go on with the next record; -1 when the application was told to quit.
    int BetweenRecords();

private:
    CWaitCursor& m_wait;
    bool m_pumped = false;
    unsigned long m_lastPump = 0;
};
