#pragma once
// The main dialog run for real, in-process, and driven by a script once it
// shows; and answers for the file dialogs its commands open.
#include "MainDialog.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DrivenMainDialog : public CMainDialog {
public:
    using Script = std::function<void(DrivenMainDialog&)>;

    // The script runs once the dialog shows; Quit is clicked after it unless
    // the script closed the dialog.
    DrivenMainDialog(AppSettings* settings, Script script);

    HWND Window() const { return m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(id); }
    void Click(int id);
    void ChooseUser(int index);
    std::string Status() const;
    std::vector<std::string> Entries(int comboId) const;
    std::string Selected(int comboId) const;
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    Script m_script;
};

// While one exists, the next file dialog the thread opens is answered: the
// file name typed, the filter chosen, the car name typed, then Open or Save
// (or Cancel).  What the dialog offered is kept.
struct FileAnswer {
    std::string typedName;     // empty: leave the name the dialog starts with
    int filterIndex = 0;       // 1-based; 0 leaves the preselected one
    const char* carName = nullptr;  // typed into the car-name box, when given
    bool cancel = false;
};

struct FileDialogSeen {
    bool shown = false;
    std::vector<std::string> filters;  // the file-type list
    int selectedFilter = -1;           // 0-based, as the dialog opened
    std::string startName;
    std::vector<std::string> cars;     // the car-name box's list
    std::string carBoxText;
};

class ScopedFileAnswer {
public:
    explicit ScopedFileAnswer(FileAnswer answer);
    ~ScopedFileAnswer();
    ScopedFileAnswer(const ScopedFileAnswer&) = delete;
    ScopedFileAnswer& operator=(const ScopedFileAnswer&) = delete;
    const FileDialogSeen& Seen() const { return m_seen; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    FileAnswer m_answer;
    FileDialogSeen m_seen;
    UINT_PTR m_timer;
    ScopedFileAnswer* m_previous;
};
