#pragma once

// The hourglass while a long run works.  Nested waits keep it until the
// outermost one ends; Restore() puts it back after message handling changed
// the cursor.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore();
    static int Depth();
};
