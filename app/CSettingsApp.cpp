#include "app/CSettingsApp.h"

#include "app/AppIdentity.h"
#include "app/LanguageChoice.h"
#include "app/TitledText.h"
#include "ui/CStartupSettingsDlg.h"

CSettingsApp theApp;

CSettingsApp::CSettingsApp() : CWinApp(nullptr) {}

BOOL CSettingsApp::InitInstance()
{
    ChooseLanguageSet();
    ApplyIdentity();

    // The dialog reads the stored settings as it is constructed, so the identity comes first.
    CStartupSettingsDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // No message loop follows: the program ends with its one dialog.
    return FALSE;
}

void CSettingsApp::ApplyIdentity()
{
    SetRegistryKey(kRegistryKey);

    AfxStrFree(m_pszProfileName);
    AfxStrFree(m_pszAppName);
    m_pszProfileName = AfxStrDup(kProfileName);
    m_pszAppName = AfxStrDup(kProductTitle);
}

BOOL CSettingsApp::FormatTitledString(UINT nID, CString& rText) const
{
    CString strFormat;
    if (!strFormat.LoadString(nID))
        return FALSE;
    rText = SubstituteTitle(strFormat, kProductTitle);
    return TRUE;
}

int CSettingsApp::ShowTitledMessage(UINT nID, UINT nType) const
{
    CString strText;
    FormatTitledString(nID, strText);
    return AfxMessageBox(strText, nType, 0);
}
