#include "Controls.h"

#include <commctrl.h>

#include <vector>

void CProgressCtrl::SetRange(int lower, int upper) { ::SendMessageA(m_hWnd, PBM_SETRANGE32, lower, upper); }

void CProgressCtrl::SetPos(int position) { ::SendMessageA(m_hWnd, PBM_SETPOS, position, 0); }

int CProgressCtrl::GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    PBRANGE range = {};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

void CComboBox::ResetContent() { ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }

int CComboBox::AddString(const std::string& text) {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int CComboBox::InsertString(int index, const std::string& text) {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str())));
}

int CComboBox::FindStringExact(int startAfter, const std::string& text) const {
    return static_cast<int>(
        ::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, startAfter, reinterpret_cast<LPARAM>(text.c_str())));
}

void CComboBox::SetEditSel(int start, int end) {
    ::SendMessageA(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

int CComboBox::GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }

int CComboBox::GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }

int CComboBox::SetCurSel(int index) { return static_cast<int>(::SendMessageA(m_hWnd, CB_SETCURSEL, index, 0)); }

std::string CComboBox::GetLBText(int index) const {
    LRESULT length = ::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    ::SendMessageA(m_hWnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
}
