// Shows the controls in the test dialog, for a look at them (and the
// screenshot): two links, the Import and Export icon buttons, and a button
// that opens the file dialog with the car-name box.  "file" on the command
// line opens the file dialog at once.
#include "FileDialogEx.h"
#include "HyperLink.h"
#include "IconButton.h"
#include "test-controls.h"

#include <commctrl.h>

#include <cstring>

namespace {
constexpr UINT OpenFileDialog = WM_APP + 1;

class ShowcaseDialog : public CDialog {
public:
    explicit ShowcaseDialog(bool openFileDialog) : CDialog(IDD_TEST_CONTROLS), m_openFileDialog(openFileDialog) {}

protected:
    BOOL OnInitDialog() override {
        BindControl(IDC_TEST_LINK, m_link);
        m_visited.SetURL("http://visited.invalid/");
        BindControl(IDC_TEST_LINK2, m_visited);
        BindControl(IDC_TEST_IMPORT, m_import);
        BindControl(IDC_TEST_EXPORT, m_export);
        m_import.LoadButtonIcon(IDI_TEST_RED, 32, 32);
        m_export.LoadButtonIcon(IDI_TEST_BLUE, 32, 32);
        if (m_openFileDialog) PostMessageA(m_hWnd, OpenFileDialog, 0, 0);
        return TRUE;
    }
    bool OnCommand(int id, int code, HWND control) override {
        if (id != IDC_TEST_CHOOSE) return CDialog::OnCommand(id, code, control);
        ChooseFile();
        return true;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message != OpenFileDialog) return false;
        ChooseFile();
        return true;
    }

private:
    void ChooseFile() {
        CFileDialogEx dialog(true, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                             "Comma Separated Values (*.csv)|*.csv|All Files (*.*)|*.*||", m_hWnd);
        dialog.SetCarNames({"Family van", "Roadster", "Pickup"}, 1);
        if (dialog.DoModal() == IDOK) ::SetWindowTextA(GetDlgItem(IDC_TEST_LINK3), dialog.GetCarName().c_str());
    }

    bool m_openFileDialog;
    CHyperLink m_link, m_visited;
    CIconButton m_import, m_export;
};
}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ShowcaseDialog dialog(argc > 1 && std::strcmp(argv[1], "file") == 0);
    dialog.DoModal();
    return 0;
}
