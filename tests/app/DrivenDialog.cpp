#include "DrivenDialog.h"

#include "resource.h"

#include <dlgs.h>

#include <utility>

namespace {
constexpr UINT kRunScript = WM_APP + 7;

std::string ComboText(HWND combo, int index) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) entries.push_back(ComboText(combo, i));
    return entries;
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

ScopedFileAnswer*& CurrentAnswer() {
    static ScopedFileAnswer* answer = nullptr;
    return answer;
}

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetDlgItem(window, cmb1) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

DrivenMainDialog::DrivenMainDialog(AppSettings* settings, Script script)
    : CMainDialog(settings), m_script(std::move(script)) {}

void DrivenMainDialog::Click(int id) {
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void DrivenMainDialog::ChooseUser(int index) {
    ::SendMessageA(Item(IDC_PALMUSER), CB_SETCURSEL, index, 0);
    SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PALMUSER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(IDC_PALMUSER)));
}

std::string DrivenMainDialog::Status() const { return WindowText(Item(IDC_STATUS)); }

std::vector<std::string> DrivenMainDialog::Entries(int comboId) const { return ComboEntries(Item(comboId)); }

std::string DrivenMainDialog::Selected(int comboId) const {
    const int index = static_cast<int>(::SendMessageA(Item(comboId), CB_GETCURSEL, 0, 0));
    return index < 0 ? std::string() : ComboText(Item(comboId), index);
}

BOOL DrivenMainDialog::OnInitDialog() {
    const BOOL result = CMainDialog::OnInitDialog();
    PostMessageA(m_hWnd, kRunScript, 0, 0);
    return result;
}

bool DrivenMainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != kRunScript) return CMainDialog::OnMessage(message, wParam, lParam, result);
    if (m_script) m_script(*this);
    if (::IsWindow(m_hWnd) && ::IsWindowVisible(m_hWnd)) Click(IDC_QUIT);
    return true;
}

ScopedFileAnswer::ScopedFileAnswer(FileAnswer answer)
    : m_answer(std::move(answer)), m_timer(SetTimer(nullptr, 0, 50, Tick)), m_previous(CurrentAnswer()) {
    CurrentAnswer() = this;
}

ScopedFileAnswer::~ScopedFileAnswer() {
    KillTimer(nullptr, m_timer);
    CurrentAnswer() = m_previous;
}

void CALLBACK ScopedFileAnswer::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ScopedFileAnswer* self = CurrentAnswer();
    if (self == nullptr || self->m_seen.shown) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    FileDialogSeen& seen = self->m_seen;
    seen.shown = true;
    HWND types = GetDlgItem(dialog, cmb1);
    seen.filters = ComboEntries(types);
    seen.selectedFilter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    HWND name = GetDlgItem(dialog, cmb13) != nullptr ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    seen.startName = WindowText(name);
    if (HWND cars = GetDlgItem(dialog, IDC_CARNAME)) {
        seen.cars = ComboEntries(cars);
        seen.carBoxText = WindowText(cars);
    }
    const FileAnswer& answer = self->m_answer;
    if (answer.cancel) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (answer.filterIndex > 0) {
        SendMessageA(types, CB_SETCURSEL, answer.filterIndex - 1, 0);
        // What a click in the list sends: the change, then the choice ended.
        for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, code), reinterpret_cast<LPARAM>(types));
    }
    if (!answer.typedName.empty()) SetWindowTextA(name, answer.typedName.c_str());
    if (answer.carName != nullptr) SetDlgItemTextA(dialog, IDC_CARNAME, answer.carName);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
