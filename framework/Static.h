#pragma once
// A static text control of a dialog.
#include "Wnd.h"

class CStatic : public CWnd {
public:
    using CWnd::CWnd;
    bool Create(const std::string& text, DWORD style, const RECT& rect, HWND parent, int id) {
        return CreateControl("STATIC", text, style, rect, parent, id);
    }
};
