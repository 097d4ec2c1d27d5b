#include "AboutDialog.h"

#include "resource.h"

const char* const CAboutDialog::kWebPage = "https://kestrelix.example/roadtally/";

CAboutDialog::CAboutDialog(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDialog::OnInitDialog() {
    m_link.SetURL(kWebPage);
    BindControl(IDC_HYPERLINK, m_link);
    return TRUE;
}
