#pragma once
// The program's one window: the Palm Desktop users, the chosen user's cars,
// a status line, a progress bar shown while a command runs, and the Import,
// Export and Quit buttons; the system menu carries the About entry.
#include "Controls.h"
#include "Dialog.h"
#include "IconButton.h"

#include <string>
#include <vector>

class AppSettings;

class CMainDialog : public CDialog {
public:
    explicit CMainDialog(AppSettings* settings, HWND parent = nullptr);
    ~CMainDialog() override;

    // Whether a command's conversion is running (and pumping messages).
    bool IsRunning() const { return m_running; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSysCommand(UINT id, LPARAM lParam) override;
    bool OnPaint() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;
    void OnCancel() override;

    void OnUserChange();
    void OnExport();
    void OnImport();

private:
    // Exchanges the status line with m_status: from the control when save is
    // true, to it otherwise.
    void UpdateData(bool save);
    void LoadCars();
    // The car combo and Export are usable only with at least one car, and
    // no control that starts or changes a command while one runs.
    void EnableControls();
    // The user combo's selected text, the chosen handheld user.
    std::string SelectedUser() const;
    void SetStatus(const std::string& text);
    // Shows the progress bar and disables the controls for a command's
    // conversion, and undoes both when it goes.
    class CRun;

    AppSettings* m_settings;
    CComboBox m_userCombo;
    CComboBox m_carCombo;
    CIconButton m_importButton;
    CIconButton m_exportButton;
    CProgressCtrl m_progress;
    std::string m_status;
    std::string m_exportFilter;
    std::string m_importFilter;
    bool m_excelAvailable = false;
    std::vector<std::string> m_carPaths;
    HICON m_icon;
    bool m_running = false;
};
