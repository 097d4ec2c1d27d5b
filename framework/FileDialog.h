#pragma once
// The common open and save file dialogs, Explorer style.  The object is the
// dialog's customisation window (a child of the file dialog window), so a
// derived dialog adds controls in OnInitDialog and reads them in OnDestroy;
// GetFileDialogWindow() is the file dialog itself.
#include "Dialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

class CFileDialog : public CDialog {
public:
    // filter: "Name|pattern|Name|pattern||", as the string table holds it.
    CFileDialog(bool openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                HWND parent = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal() override;

    std::string GetPathName() const;
    // The chosen file's name with and without its extension.
    std::string GetFileName() const;
    std::string GetFileTitle() const;
    // The extension without its dot; empty when the name has none.
    std::string GetFileExt() const;

    // Set what the dialog offers before DoModal: nFilterIndex,
    // lpstrCustomFilter and nMaxCustFilter, lpstrTitle.
    OPENFILENAMEA m_ofn;

protected:
    HWND GetFileDialogWindow() const { return GetParent(); }

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_openFileDialog;
    std::string m_defaultExtension;
    std::vector<char> m_filter;
    std::vector<char> m_fileName;
};
