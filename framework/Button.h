#pragma once
// A push button of a dialog.  An owner-drawn button draws itself in DrawItem,
// which the dialog calls for every repaint, focus change and press.
#include "Wnd.h"

class CButton : public CWnd {
public:
    using CWnd::CWnd;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // Draws the owner-drawn button; the plain button leaves it to the system.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
};
