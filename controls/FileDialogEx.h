#pragma once
// The open-file dialog with one addition: an editable "Car Name" box, where
// the read-only check box would be, listing the user's cars with the chosen
// one preset.  The text left in the box when the dialog closes is the car
// name.
#include "Controls.h"
#include "FileDialog.h"
#include "Static.h"

#include <string>
#include <vector>

class CFileDialogEx : public CFileDialog {
public:
    using CFileDialog::CFileDialog;

    // Set before DoModal: the box's entries in list order, and the index of
    // the one preset (one that matches no entry presets nothing).
    void SetCarNames(std::vector<std::string> names, int selected);
    // The box's text when the dialog closed, at most 39 characters; empty
    // until then.
    const std::string& GetCarName() const { return m_carName; }

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    RECT CarBoxPlace(HWND dialog, RECT& labelRect) const;
    static void GrowToHold(HWND dialog, const RECT& row);

    std::vector<std::string> m_carNames;
    int m_selectedCar = -1;
    std::string m_carName;
    CStatic m_label;
    CComboBox m_carBox;
};
