#pragma once
// A tool tip window, owned: destroyed with the object (or with its parent
// window, whichever goes first).
#include <windows.h>

#include <string>

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    bool Create(HWND parent, DWORD style = 0);
    HWND GetSafeHwnd() const { return m_window; }
    // A tool over rect of window's client area, identified by id, showing text.
    bool AddTool(HWND window, const std::string& text, const RECT& rect, UINT_PTR id);
    // A tool over the whole of control whose text is asked of owner with
    // TTN_GETDISPINFOA; the tip watches the control's mouse messages itself.
    bool AddWindowTool(HWND owner, HWND control);
    // Hands a mouse message of a tool's window to the tip.
    void RelayEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Number of tools added.
    int GetToolCount() const;

private:
    HWND m_window = nullptr;
};
