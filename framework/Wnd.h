#pragma once
// A view of a window the program does not own: dialogs and their controls are
// destroyed by the window system, so a view never destroys its window.  A
// view may subclass its window to see the window's own messages first.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Views the window without taking its messages.
    void Attach(HWND window);
    // Views the window and routes its messages through WindowProc until the
    // window or the view goes.  PreSubclassWindow runs first.
    bool SubclassWindow(HWND window);
    bool IsSubclassed() const { return m_subclassed; }

    // Creates a child control of parent and views it.
    bool CreateControl(const char* className, const std::string& text, DWORD style, const RECT& rect, HWND parent,
                       int id);

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    LONG GetStyle() const { return static_cast<LONG>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, bool redraw = true) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void EnableWindow(bool enable) { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void ShowWindow(int command) { ::ShowWindow(m_hWnd, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // A message the parent dialog hands back to the control it concerns
    // (owner drawing, control colours); true when the control answered it.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Set-up a view does on its window just before it takes the messages.
    virtual void PreSubclassWindow() {}
    // The window's messages while subclassed; the default hands them on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void Unsubclass();

    bool m_subclassed = false;
};
