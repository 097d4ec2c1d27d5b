#include "Button.h"

bool CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void CButton::DrawItem(const DRAWITEMSTRUCT&) {}
