#include "WaitCursor.h"

#include <windows.h>

namespace {
int& WaitDepth() {
    static int depth = 0;
    return depth;
}
HCURSOR& CursorBefore() {
    static HCURSOR cursor = nullptr;
    return cursor;
}
// Loaded once: loading a system cursor is costly, and Restore() runs once
// per row of a long run.
HCURSOR Hourglass() {
    static const HCURSOR cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    return cursor;
}
}  // namespace

CWaitCursor::CWaitCursor() {
    HCURSOR previous = SetCursor(Hourglass());
    if (WaitDepth()++ == 0) CursorBefore() = previous;
}

CWaitCursor::~CWaitCursor() {
    if (--WaitDepth() == 0)
        SetCursor(CursorBefore() != nullptr ? CursorBefore() : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    else
        Restore();
}

void CWaitCursor::Restore() {
    if (WaitDepth() > 0 && GetCursor() != Hourglass()) SetCursor(Hourglass());
}

int CWaitCursor::Depth() { return WaitDepth(); }
