#include "Wnd.h"

#include "UncaughtException.h"

#include <commctrl.h>

#include <vector>

CWnd::~CWnd() { Unsubclass(); }

void CWnd::Attach(HWND window) {
    Unsubclass();
    m_hWnd = window;
}

bool CWnd::SubclassWindow(HWND window) {
    Attach(window);
    if (window == nullptr) return false;
    PreSubclassWindow();
    m_subclassed = SetWindowSubclass(window, SubclassProc, reinterpret_cast<UINT_PTR>(this),
                                     reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    return m_subclassed;
}

bool CWnd::CreateControl(const char* className, const std::string& text, DWORD style, const RECT& rect, HWND parent,
                         int id) {
    HWND window = CreateWindowExA(0, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    Attach(window);
    return window != nullptr;
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    int copied = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

RECT CWnd::GetClientRect() const {
    RECT rect = {};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const {
    RECT rect = {};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_subclassed) return DefSubclassProc(m_hWnd, message, wParam, lParam);
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::Unsubclass() {
    if (m_subclassed && IsWindow(m_hWnd))
        RemoveWindowSubclass(m_hWnd, SubclassProc, reinterpret_cast<UINT_PTR>(this));
    m_subclassed = false;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    CWnd& view = *reinterpret_cast<CWnd*>(self);
    LRESULT result = 0;
    try {
        result = view.WindowProc(message, wParam, lParam);
    } catch (...) {
        ReportUncaughtException();
    }
    // The window is going: the view lets go of it so that it never touches a
    // dead handle.
    if (message == WM_NCDESTROY) {
        view.Unsubclass();
        view.m_hWnd = nullptr;
    }
    return result;
}
