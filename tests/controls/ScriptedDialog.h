#pragma once
// The test dialog, run modally: the controls are bound at initialisation,
// then, once the dialog runs, the script drives it with messages and the
// dialog closes with IDOK unless the script closed it.
#include "Dialog.h"

#include <functional>

class ScriptedDialog : public CDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;
    using CommandHandler = std::function<bool(int id)>;

    ScriptedDialog(Step bind, Step script, CommandHandler command = nullptr);
    HWND Item(int id) const { return GetDlgItem(id); }
    HWND Window() const { return m_hWnd; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;
    void OnCancel() override;

private:
    Step m_bind;
    Step m_script;
    CommandHandler m_command;
    bool m_ended = false;
};
