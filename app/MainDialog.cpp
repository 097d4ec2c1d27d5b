#include "MainDialog.h"

#include "AboutDialog.h"
#include "AppSettings.h"
#include "CarList.h"
#include "DatabaseName.h"
#include "Dpi.h"
#include "ExportDatabase.h"
#include "FileDialogEx.h"
#include "FileFilters.h"
#include "ImportTable.h"
#include "InstallQueue.h"
#include "Message.h"
#include "PalmUsers.h"
#include "SystemError.h"
#include "TableFileFactory.h"
#include "WaitCursor.h"
#include "resource.h"

#include <commctrl.h>

namespace {
// The buttons' icons at 96 dots per inch; the icon files hold them at 32, 48
// and 64 pixels for 100, 150 and 200 %.
constexpr int kButtonIconSize = 32;
constexpr DWORD kTempPathSize = 1000;

std::string TemporaryFolder() {
    char folder[kTempPathSize] = {};
    const DWORD length = GetTempPathA(kTempPathSize, folder);
    return length > 0 && length < kTempPathSize ? std::string(folder, length) : std::string();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

// While a command's conversion runs, the messages it pumps must not start a
// second command or change the user or car it works for: the combos and the
// command buttons are disabled, and the progress bar shows.
class CMainDialog::CRun {
public:
    explicit CRun(CMainDialog& dialog) : m_dialog(dialog) {
        m_dialog.m_running = true;
        m_dialog.SetStatus(std::string());
        // A disabled control cannot keep the focus; Quit can, so that the
        // keyboard still reaches the window.
        m_focus = GetFocus();
        m_dialog.EnableControls();
        if (GetFocus() == nullptr || !::IsWindowEnabled(GetFocus()))
            m_dialog.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_dialog.GetDlgItem(IDC_QUIT)), TRUE);
        m_dialog.m_progress.SetPos(0);
        m_dialog.m_progress.ShowWindow(SW_SHOW);
    }
    ~CRun() {
        m_dialog.m_progress.ShowWindow(SW_HIDE);
        m_dialog.m_running = false;
        if (m_dialog.GetSafeHwnd() == nullptr) return;  // closed during the run
        m_dialog.EnableControls();
        if (m_focus != nullptr && IsWindow(m_focus) && ::IsWindowEnabled(m_focus))
            m_dialog.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_focus), TRUE);
    }
    CRun(const CRun&) = delete;
    CRun& operator=(const CRun&) = delete;

private:
    CMainDialog& m_dialog;
    HWND m_focus;
};

CMainDialog::CMainDialog(AppSettings* settings, HWND parent)
    : CDialog(IDD_RTIMPORTEXPORT_DIALOG, parent),
      m_settings(settings),
      m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CMainDialog::~CMainDialog() = default;

BOOL CMainDialog::OnInitDialog() {
    BindControl(IDC_PALMUSER, m_userCombo);
    BindControl(IDC_CAR, m_carCombo);
    BindControl(IDC_IMPORT, m_importButton);
    BindControl(IDC_EXPORT, m_exportButton);
    BindControl(IDC_PROGRESS, m_progress);
    UpdateData(false);

    const std::string about = LoadResourceString(IDS_ABOUTBOX);
    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE); systemMenu != nullptr && !about.empty()) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    m_excelAvailable = IsExcelAvailable();
    EnableToolTips();
    const int iconSize = Dpi::Scale(kButtonIconSize);
    m_exportButton.LoadButtonIcon(IDI_EXPORT, iconSize, iconSize);
    m_importButton.LoadButtonIcon(IDI_IMPORT, iconSize, iconSize);

    for (const std::string& name : PalmUserNames()) m_userCombo.AddString(name);
    m_userCombo.SetCurSel(0);
    // The saved user by exact name (the combo's own search ignores case).
    for (int i = 0; i < m_userCombo.GetCount(); ++i) {
        if (m_userCombo.GetLBText(i) == m_settings->palmuser) {
            m_userCombo.SetCurSel(i);
            break;
        }
    }
    m_settings->palmuser = SelectedUser();
    LoadCars();
    EnableControls();

    m_exportFilter = BuildExportFileFilter();
    m_importFilter = BuildFileFilter();
    return TRUE;
}

bool CMainDialog::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_PALMUSER:
        if (code == CBN_SELCHANGE) OnUserChange();
        return true;
    case IDC_IMPORT:
        if (code == BN_CLICKED) OnImport();
        return true;
    case IDC_EXPORT:
        if (code == BN_CLICKED) OnExport();
        return true;
    case IDC_QUIT:
        if (code == BN_CLICKED) OnOK();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

bool CMainDialog::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TTN_GETDISPINFOA) return false;
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    if (!(info.uFlags & TTF_IDISHWND)) return false;
    UINT text = 0;
    switch (::GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom))) {
    case IDC_IMPORT:
        text = IDS_TIP_IMPORT;
        break;
    case IDC_EXPORT:
        text = IDS_TIP_EXPORT;
        break;
    default:
        return false;
    }
    info.lpszText = MAKEINTRESOURCEA(text);
    info.hinst = GetModuleHandleA(nullptr);
    result = 0;
    return true;
}

bool CMainDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) != IDM_ABOUTBOX) return false;
    CAboutDialog about(m_hWnd);
    about.DoModal();
    return true;
}

bool CMainDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_hWnd, &paint);
    return true;
}

void CMainDialog::OnDestroy() { m_settings->SaveSettings(); }

bool CMainDialog::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_QUERYDRAGICON) return false;
    result = reinterpret_cast<LRESULT>(m_icon);
    return true;
}

void CMainDialog::OnOK() {
    UpdateData(true);
    // Quit while a conversion runs: the run stops after its current record
    // (an import then writes and queues nothing) and the window closes.
    if (m_running) PostQuitMessage(0);
    EndDialog(IDOK);
}

void CMainDialog::OnCancel() {
    if (m_running) PostQuitMessage(0);
    EndDialog(IDCANCEL);
}

void CMainDialog::OnUserChange() {
    if (m_running) return;
    UpdateData(true);
    m_settings->palmuser = SelectedUser();
    LoadCars();
    EnableControls();
    m_status = m_carCombo.GetCount() == 0 ? LoadResourceString(IDS_NO_DATA_FOR_USER) : std::string();
    UpdateData(false);
}

void CMainDialog::OnExport() {
    if (m_running) return;
    UpdateData(true);
    // The user and the car are taken once, here: nothing the window does
    // during the run changes whose database is written.
    const std::string user = SelectedUser();
    const int car = m_carCombo.GetCurSel();
    if (car < 0 || static_cast<std::size_t>(car) >= m_carPaths.size()) return;
    const std::string databasePath = m_carPaths[static_cast<std::size_t>(car)];

    CFileDialog dialog(false, nullptr, m_settings->lastfile.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       m_exportFilter.c_str(), m_hWnd);
    dialog.m_ofn.nFilterIndex = static_cast<DWORD>(InitialFilterIndex(m_settings->lastfile));
    if (dialog.DoModal() != IDOK) return;

    CWaitCursor wait;
    std::string path = dialog.GetPathName();
    if (!HasExtension(path)) {
        const std::string extension =
            ExtensionForPattern(FilterPattern(m_exportFilter, static_cast<int>(dialog.m_ofn.nFilterIndex)));
        // The dialog asked about the name as typed; the name with its
        // extension is another file, which the export would replace.
        if (!extension.empty() && FileExists(path + extension) &&
            ShowMessage(IDS_REPLACE_FILE, MB_YESNO | MB_ICONWARNING, path + extension) != IDYES)
            return;
        path += extension;
    }

    CRun run(*this);
    m_settings->palmuser = user;
    m_settings->lastfile = path;
    // Without the spreadsheet application a workbook replaces an earlier file
    // only once it is complete: an export that fails leaves that file as it
    // was.
    if (!IsExcelFileName(path) || m_excelAvailable) DeleteFileA(path.c_str());
    wait.Restore();
    if (const auto profile = TrackerProfileForFilter(static_cast<int>(dialog.m_ofn.nFilterIndex))) {
        TrackerExportSummary summary;
        ExportForTracker(databasePath, path, *profile, false, &m_progress, summary);
        const std::string status = TrackerExportStatus(summary);
        SetStatus(status);
        // The status line shows only its start; the units and currency the
        // tracker's vehicle must be set to are told in full.
        if (!summary.files.empty()) ShowMessageText(status, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int result = ExportDatabase(databasePath, path, *m_settings, &m_progress);
    // Never a line that contradicts the message the run has just shown.
    if (result == kExportWriteFailed)
        SetStatus(FormatResourceString(IDS_STATUS_EXPORT_FAILED, path));
    else
        SetStatus(result >= 0 ? FormatResourceString(IDS_STATUS_EXPORTED, path)
                              : LoadResourceString(IDS_STATUS_NOT_EXPORTED));
}

void CMainDialog::OnImport() {
    if (m_running) return;
    UpdateData(true);
    const std::string user = SelectedUser();

    CFileDialogEx dialog(true, nullptr, m_settings->lastfile.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                         m_importFilter.c_str(), m_hWnd);
    dialog.m_ofn.nFilterIndex = static_cast<DWORD>(InitialFilterIndex(m_settings->lastfile));
    std::vector<std::string> cars;
    for (int i = 0; i < m_carCombo.GetCount(); ++i) cars.push_back(m_carCombo.GetLBText(i));
    dialog.SetCarNames(cars, m_carCombo.GetCurSel());
    if (dialog.DoModal() != IDOK) return;

    CWaitCursor wait;
    const std::string carName = dialog.GetCarName().empty() ? dialog.GetFileTitle() : dialog.GetCarName();
    const std::string path = dialog.GetPathName();
    CRun run(*this);
    m_settings->palmuser = user;
    const std::string databaseName = MakeDatabaseName(carName);
    const std::string newDatabasePath = TemporaryFolder() + databaseName + ".pdb";
    m_settings->lastfile = path;
    // Without a handheld user (no Palm Desktop) there is no present database
    // to take the car record from, and no folder to ask Palm Desktop for.
    const std::string previousDatabasePath =
        user.empty() ? std::string() : m_settings->GetBackupFolder() + "\\" + databaseName + ".pdb";
    const int result = ImportTable(newDatabasePath, path, previousDatabasePath, carName, *m_settings, &m_progress);
    const unsigned long error = LastSystemError();
    if (result < 0) {
        ShowMessage(IDS_ERROR_READING_FILE, MB_OK, SystemErrorText(error));
        SetStatus(LoadResourceString(IDS_STATUS_NOT_IMPORTED));
    } else if (result > 0) {
        const bool queued = QueueForInstall(user, newDatabasePath);
        SetStatus(queued ? FormatResourceString(IDS_STATUS_IMPORTED, result, user)
                         : FormatResourceString(IDS_STATUS_IMPORTED_KEPT, result, newDatabasePath));
    } else {
        SetStatus(LoadResourceString(IDS_STATUS_NOT_IMPORTED));
    }
}

void CMainDialog::UpdateData(bool save) {
    if (save)
        m_status = CWnd(GetDlgItem(IDC_STATUS)).GetWindowText();
    else
        SetDlgItemTextA(m_hWnd, IDC_STATUS, m_status.c_str());
}

void CMainDialog::LoadCars() {
    if (m_settings->palmuser.empty()) {
        // No handheld user at all (no Palm Desktop): no cars, and nobody to
        // ask Palm Desktop about.
        m_carCombo.ResetContent();
        m_carPaths.clear();
        return;
    }
    LoadCarList(m_carCombo, m_carPaths, *m_settings);
}

void CMainDialog::EnableControls() {
    const bool haveCars = m_carCombo.GetCount() > 0;
    m_userCombo.EnableWindow(!m_running);
    m_carCombo.EnableWindow(haveCars && !m_running);
    m_importButton.EnableWindow(!m_running);
    m_exportButton.EnableWindow(haveCars && !m_running);
}

std::string CMainDialog::SelectedUser() const {
    const int selected = m_userCombo.GetCurSel();
    return selected < 0 ? std::string() : m_userCombo.GetLBText(selected);
}

void CMainDialog::SetStatus(const std::string& text) {
    m_status = text;
    UpdateData(false);
}
