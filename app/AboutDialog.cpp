#include "AboutDialog.h"

#include "resource.h"
#include "rt_version.h"

const char* const CAboutDialog::kWebPage = RT_WEB_PAGE;

CAboutDialog::CAboutDialog(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDialog::OnInitDialog() {
    m_link.SetURL(kWebPage);
    BindControl(IDC_HYPERLINK, m_link);
    return TRUE;
}
