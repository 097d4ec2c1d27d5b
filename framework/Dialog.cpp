#include "Dialog.h"

#include "UncaughtException.h"

#include <commctrl.h>

#include <algorithm>

namespace {
const char* const ObjectProperty = "RtDialogObject";

// Messages whose answer a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// The control a message concerns, for the messages handed back to controls.
HWND ControlOf(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM:
        return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}
}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) RemovePropA(m_hWnd, ObjectProperty);
}

INT_PTR CDialog::DoModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), m_parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

void CDialog::BindControl(int id, CWnd& control) {
    control.SubclassWindow(GetDlgItem(id));
    if (std::find(m_controls.begin(), m_controls.end(), &control) == m_controls.end()) m_controls.push_back(&control);
}

void CDialog::EnableToolTips() {
    m_toolTips = std::make_unique<CToolTipCtrl>();
    if (!m_toolTips->Create(m_hWnd)) return;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        m_toolTips->AddWindowTool(m_hWnd, child);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

bool CDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnNotify(NMHDR&, LRESULT&) { return false; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnSysCommand(UINT, LPARAM) { return false; }

bool CDialog::OnPaint() { return false; }

void CDialog::OnDestroy() {}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void CDialog::AttachDialogWindow(HWND window) {
    Attach(window);
    SetPropA(window, ObjectProperty, this);
}

CDialog* CDialog::ObjectOf(HWND window) { return static_cast<CDialog*>(GetPropA(window, ObjectProperty)); }

CWnd* CDialog::BoundControl(HWND window) const {
    if (window == nullptr) return nullptr;
    auto found = std::find_if(m_controls.begin(), m_controls.end(),
                              [window](const CWnd* control) { return control->GetSafeHwnd() == window; });
    return found == m_controls.end() ? nullptr : *found;
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (CWnd* control = BoundControl(ControlOf(message, lParam))) {
        if (control->OnChildNotify(message, wParam, lParam, result)) return true;
    }
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT:
        return OnPaint();
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_NCDESTROY:
        RemovePropA(m_hWnd, ObjectProperty);
        m_controls.clear();
        m_toolTips.reset();
        m_hWnd = nullptr;
        return false;
    default:
        return OnMessage(message, wParam, lParam, result);
    }
}

INT_PTR CDialog::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = m_hWnd;
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = Dispatch(message, wParam, lParam, result);
    } catch (...) {
        ReportUncaughtException();
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    if (window != nullptr && IsWindow(window)) SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) reinterpret_cast<CDialog*>(lParam)->AttachDialogWindow(window);
    CDialog* dialog = ObjectOf(window);
    if (dialog == nullptr) return FALSE;
    return dialog->RouteMessage(message, wParam, lParam);
}
