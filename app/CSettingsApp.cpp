#include "app/CSettingsApp.h"

#include "app/AppIdentity.h"
#include "app/LanguageChoice.h"
#include "app/TitledText.h"
#include "framework/ModuleState.h"
#include "framework/StringResource.h"

CSettingsApp theApp;

CSettingsApp::CSettingsApp() : CWinApp(nullptr) {}

BOOL CSettingsApp::InitInstance()
{
    ChooseLanguageSet();
    ApplyIdentity();
    // No message loop follows: the program ends when its one dialog closes.
    return FALSE;
}

void CSettingsApp::ApplyIdentity()
{
    SetRegistryKey(kRegistryKey);

    AfxStrFree(m_pszProfileName);
    AfxStrFree(m_pszAppName);
    m_pszProfileName = AfxStrDup(kProfileName);
    m_pszAppName = AfxStrDup(kProductTitle);
    AfxGetModuleState()->m_lpszCurrentAppName = m_pszAppName;
}

BOOL CSettingsApp::FormatTitledString(UINT nID, CString& rText) const
{
    CString strFormat;
    if (AfxFindStringResourceHandle(nID) == nullptr)
        return FALSE;
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
