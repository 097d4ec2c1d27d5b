#include "ScriptedDialog.h"

#include "test-controls.h"

#include <utility>

namespace {
constexpr UINT RunScript = WM_APP + 1;
}

ScriptedDialog::ScriptedDialog(Step bind, Step script, CommandHandler command)
    : CDialog(IDD_TEST_CONTROLS), m_bind(std::move(bind)), m_script(std::move(script)), m_command(std::move(command)) {}

BOOL ScriptedDialog::OnInitDialog() {
    if (m_bind) m_bind(*this);
    PostMessageA(m_hWnd, RunScript, 0, 0);
    return TRUE;
}

bool ScriptedDialog::OnCommand(int id, int code, HWND control) {
    if (m_command && m_command(id)) return true;
    return CDialog::OnCommand(id, code, control);
}

bool ScriptedDialog::OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message != RunScript) return false;
    if (m_script) m_script(*this);
    if (!m_ended) EndDialog(IDOK);
    return true;
}

void ScriptedDialog::OnOK() {
    m_ended = true;
    CDialog::OnOK();
}

void ScriptedDialog::OnCancel() {
    m_ended = true;
    CDialog::OnCancel();
}
