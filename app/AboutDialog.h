#pragma once
// The About box: the program icon, its name and version, the maker's notice
// and a link to the maker's web page.
#include "Dialog.h"
#include "HyperLink.h"

class CAboutDialog : public CDialog {
public:
    static const char* const kWebPage;

    explicit CAboutDialog(HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    CHyperLink m_link;
};
