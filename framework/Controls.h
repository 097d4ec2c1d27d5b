#pragma once
// Views of the progress bar and combo box controls of a dialog.
#include "Wnd.h"

#include <string>

class CProgressCtrl : public CWnd {
public:
    explicit CProgressCtrl(HWND window = nullptr) : CWnd(window) {}
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;
    void GetRange(int& lower, int& upper) const;
};

class CComboBox : public CWnd {
public:
    explicit CComboBox(HWND window = nullptr) : CWnd(window) {}
    bool Create(DWORD style, const RECT& rect, HWND parent, int id) {
        return CreateControl("COMBOBOX", std::string(), style, rect, parent, id);
    }
    void ResetContent();
    // Adds in the list's order (sorted when the box sorts).
    int AddString(const std::string& text);
    // Inserts at index, -1 for the end, whether or not the box sorts.
    int InsertString(int index, const std::string& text);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    std::string GetLBText(int index) const;
    int FindStringExact(int startAfter, const std::string& text) const;
    // Selects characters [start, end) of the edit field; -1 as end means all.
    void SetEditSel(int start, int end);
};
