#pragma once
// A modal dialog from a dialog template.  The window's messages reach the
// virtual handlers below; a dialog overrides the ones it needs.  Messages a
// control sends about itself (owner drawing, control colours) go back to the
// bound control object first, so controls draw and colour themselves.
#include "ToolTipCtrl.h"
#include "Wnd.h"

#include <memory>
#include <vector>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    // Binds the control object to the dialog's item id (subclassing it) and
    // routes the item's own notifications to it.
    void BindControl(int id, CWnd& control);

    // Tool tips for every child control; their texts are asked for with
    // TTN_GETDISPINFOA notifications to OnNotify.
    void EnableToolTips();

protected:
    // Returns true to let the system give the focus to the first control.
    virtual BOOL OnInitDialog();
    // A command from a menu, accelerator or control; true when handled.  The
    // default maps IDOK and IDCANCEL to OnOK and OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(NMHDR& header, LRESULT& result);
    virtual void OnOK();
    virtual void OnCancel();
    // System menu commands; false hands the command to the default handling.
    virtual bool OnSysCommand(UINT id, LPARAM lParam);
    // True when the handler painted the window itself.
    virtual bool OnPaint();
    virtual void OnDestroy();
    // Any other message; true (with result) when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // One message through the handlers above.  Returns what a dialog
    // procedure returns.
    INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Connects the window to this object; used by dialogs the system creates.
    void AttachDialogWindow(HWND window);
    // The dialog object connected to window, or null.
    static CDialog* ObjectOf(HWND window);

    UINT m_templateId;
    HWND m_parent;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    CWnd* BoundControl(HWND window) const;

    std::vector<CWnd*> m_controls;
    std::unique_ptr<CToolTipCtrl> m_toolTips;
};
