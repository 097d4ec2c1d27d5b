#pragma once
// Thin holders of dialog controls by window handle; the dialog owns the windows.
#include <windows.h>

#include <string>

class CProgressCtrl {
public:
    explicit CProgressCtrl(HWND window = nullptr) : m_window(window) {}
    HWND GetSafeHwnd() const { return m_window; }
    void Attach(HWND window) { m_window = window; }
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;
    void GetRange(int& lower, int& upper) const;

private:
    HWND m_window;
};

class CComboBox {
public:
    explicit CComboBox(HWND window = nullptr) : m_window(window) {}
    HWND GetSafeHwnd() const { return m_window; }
    void Attach(HWND window) { m_window = window; }
    void ResetContent();
    int AddString(const std::string& text);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    std::string GetLBText(int index) const;

private:
    HWND m_window;
};
