#include "FileDialogEx.h"

#include "Dpi.h"
#include "Message.h"
#include "resource.h"

#include <dlgs.h>

#include <cstring>
#include <utility>

namespace {
// Room the drop-down list of the box takes below its edit field, in pixels
// at 96 dots per inch.
constexpr int DropDownHeight = 100;
// Car names are cut to what the handheld keeps.
constexpr int CarNameBufferSize = 40;
constexpr std::size_t EntryBufferSize = 1000;
// Pixels (at 96 dots per inch) between rows of a dialog where it gives none
// of its own.
constexpr int RowGap96 = 6;

bool ChildRect(HWND dialog, int id, RECT& rect) {
    HWND child = GetDlgItem(dialog, id);
    if (child == nullptr) return false;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}
}  // namespace

void CFileDialogEx::SetCarNames(std::vector<std::string> names, int selected) {
    m_carNames = std::move(names);
    m_selectedCar = selected;
}

RECT CFileDialogEx::CarBoxPlace(HWND dialog, RECT& labelRect) const {
    RECT box = {};
    RECT typeLabel = {};
    const bool haveTypeLabel = ChildRect(dialog, stc2, typeLabel);
    if (!ChildRect(dialog, chx1, box)) {
        // No read-only check box: a row of its own below the file-type row
        // (or the file-name row).
        RECT above = {};
        if (!ChildRect(dialog, cmb1, above) && !ChildRect(dialog, edt1, above)) ::GetClientRect(dialog, &above);
        const int gap = Dpi::Scale(RowGap96);
        box = RECT{above.left, above.bottom + gap, above.right, above.bottom + gap + (above.bottom - above.top)};
    }
    // The label in the file-type label's column, else just left of the box.
    labelRect = haveTypeLabel ? RECT{typeLabel.left, box.top, typeLabel.right, box.bottom}
                              : RECT{Dpi::Scale(RowGap96), box.top, box.left - Dpi::Scale(RowGap96), box.bottom};
    return box;
}

void CFileDialogEx::GrowToHold(HWND dialog, const RECT& row) {
    // Where the hidden check box lies below the dialog's last row (as in
    // Wine's dialog), the dialog grows to show the box, keeping the margin
    // it has below the file-type row.
    RECT client = {};
    ::GetClientRect(dialog, &client);
    RECT lastRow = {};
    const int margin = ChildRect(dialog, cmb1, lastRow) && lastRow.bottom < client.bottom
                           ? client.bottom - lastRow.bottom
                           : Dpi::Scale(RowGap96);
    const int missing = row.bottom + margin - client.bottom;
    if (missing <= 0) return;
    RECT window = {};
    ::GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFileDialogEx::OnInitDialog() {
    CFileDialog::OnInitDialog();
    HWND dialog = GetFileDialogWindow();
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(::GetDlgItem(dialog, chx1), WM_GETFONT, 0, 0));
    if (font == nullptr) font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));

    RECT labelRect = {};
    RECT boxRect = CarBoxPlace(dialog, labelRect);
    boxRect.bottom += Dpi::Scale(DropDownHeight);
    m_carBox.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWN, boxRect, dialog,
                    IDC_CARNAME);
    m_carBox.SetFont(font);
    m_carBox.SetFocus();
    m_label.Create(std::string(), WS_CHILD | WS_VISIBLE, labelRect, dialog, IDC_CARNAME_LABEL);
    m_label.SetFont(font);
    RECT shown = {};
    if (ChildRect(dialog, IDC_CARNAME, shown)) GrowToHold(dialog, shown);

    for (std::size_t i = 0; i < m_carNames.size(); ++i) {
        char entry[EntryBufferSize] = {};
        std::strncpy(entry, m_carNames[i].c_str(), EntryBufferSize - 1);
        // At the end, not sorted in: the list keeps the main dialog's order.
        m_carBox.InsertString(-1, entry);
        if (static_cast<int>(i) == m_selectedCar) m_carBox.SetWindowText(entry);
    }
    m_carBox.SetEditSel(0, -1);
    m_label.SetWindowText(LoadResourceString(IDS_CAR_NAME));
    return TRUE;
}

void CFileDialogEx::OnDestroy() {
    CFileDialog::OnDestroy();
    char text[CarNameBufferSize] = {};
    if (GetDlgItemTextA(GetFileDialogWindow(), IDC_CARNAME, text, CarNameBufferSize) > 0) m_carName = text;
}
