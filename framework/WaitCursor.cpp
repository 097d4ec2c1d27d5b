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
}  // namespace

CWaitCursor::CWaitCursor() {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (WaitDepth()++ == 0) CursorBefore() = previous;
}

CWaitCursor::~CWaitCursor() {
    if (--WaitDepth() == 0)
        SetCursor(CursorBefore() != nullptr ? CursorBefore() : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    else
        Restore();
}

void CWaitCursor::Restore() {
    if (WaitDepth() > 0) SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

int CWaitCursor::Depth() { return WaitDepth(); }
