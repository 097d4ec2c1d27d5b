#pragma once
// One open theme-data handle, closed when the holder goes.
#include "UxTheme.h"

class ThemeHandle {
public:
    ThemeHandle(CUxTheme& theme, HWND window, const wchar_t* classList) : m_theme(theme) {
        Open(window, classList);
    }
    ~ThemeHandle() { Close(); }
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;

    // Closes the handle it holds, then opens the theme data of window.
    void Open(HWND window, const wchar_t* classList) {
        Close();
        m_handle = m_theme.OpenThemeData(window, classList);
    }
    HTHEME Get() const { return m_handle; }

private:
    void Close() {
        if (m_handle != nullptr) m_theme.CloseThemeData(m_handle);
        m_handle = nullptr;
    }

    CUxTheme& m_theme;
    HTHEME m_handle = nullptr;
};
