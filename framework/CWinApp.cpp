#include "framework/CWinApp.h"

#include "framework/CRegKey.h"
#include "framework/CString.h"
#include "framework/CWideText.h"
#include "framework/CWnd.h"
#include "framework/FrameworkIds.h"
#include "framework/ModuleState.h"

#include <stdlib.h>
#include <string.h>

LPSTR AfxStrDup(LPCSTR psz)
{
    if (psz == nullptr)
        return nullptr;
    const size_t cb = strlen(psz) + 1;
    LPSTR pszCopy = static_cast<LPSTR>(malloc(cb));
    if (pszCopy != nullptr)
        memcpy(pszCopy, psz, cb);
    return pszCopy;
}

void AfxStrFree(LPCSTR psz)
{
    free(const_cast<LPSTR>(psz));
}

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    m_pszAppName = AfxStrDup(lpszAppName);
    AfxGetModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == this)
        pState->m_pCurrentWinApp = nullptr;
    AfxStrFree(m_pszAppName);
    AfxStrFree(m_pszProfileName);
    AfxStrFree(m_pszRegistryKey);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::InitDefaultAppName()
{
    if (m_pszAppName == nullptr)
    {
        CString strName;
        if (!strName.LoadString(AFX_IDS_APP_TITLE))
        {
            char szPath[MAX_PATH] = {};
            GetModuleFileNameA(AfxGetInstanceHandle(), szPath, MAX_PATH - 1);
            char* pszName = strrchr(szPath, '\\');
            pszName = pszName != nullptr ? pszName + 1 : szPath;
            char* pszExtension = strrchr(pszName, '.');
            if (pszExtension != nullptr)
                *pszExtension = '\0';
            strName = pszName;
        }
        m_pszAppName = AfxStrDup(strName);
    }
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    AfxStrFree(m_pszRegistryKey);
    m_pszRegistryKey = AfxStrDup(lpszRegistryKey);
    AfxStrFree(m_pszProfileName);
    m_pszProfileName = AfxStrDup(m_pszAppName);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    CString strPath("Software\\");
    strPath += m_pszRegistryKey;
    strPath += '\\';
    strPath += m_pszProfileName;
    // The key only ever serves as the parent of the keys that hold the values. Creating a missing
    // key below a handle needs the right to create subkeys on that handle, and no more; a key whose
    // permissions refuse even that is opened for reading, so that its subkeys still show what
    // they hold. One request creates whatever of the path is missing.
    CRegKey keyApp;
    if (keyApp.Create(HKEY_CURRENT_USER, strPath, KEY_CREATE_SUB_KEY) == ERROR_ACCESS_DENIED)
        keyApp.Open(HKEY_CURRENT_USER, strPath, KEY_QUERY_VALUE);
    return keyApp.Detach();
}

void CWinApp::BeginWaitCursor()
{
    HCURSOR hcurPrevious = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); // IDC_WAIT
    if (m_nWaitCursorCount++ == 0)
        m_hcurWaitCursorRestore = hcurPrevious;
}

void CWinApp::EndWaitCursor()
{
    if (m_nWaitCursorCount == 0)
        return;
    if (--m_nWaitCursorCount == 0)
        SetCursor(m_hcurWaitCursorRestore != nullptr
                      ? m_hcurWaitCursorRestore
                      : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
}

LPCSTR AfxGetAppName()
{
    const CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : "";
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    HWND hWndOwner = nullptr;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd != nullptr)
    {
        hWndOwner = pApp->m_pMainWnd->GetSafeHwnd();
        if (hWndOwner != nullptr && IsWindow(hWndOwner))
            hWndOwner = GetLastActivePopup(hWndOwner);
        else
            hWndOwner = nullptr;
    }
    (void)nIDHelp; // the program has no help file
    // Text and caption are the program's own texts: shown from the code page they were made in.
    return MessageBoxW(hWndOwner, CWideText(lpszText), CWideText(AfxGetAppName()), nType);
}

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    (void)nCmdShow;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pState->m_hCurrentInstanceHandle = hInstance;
    pState->m_hCurrentResourceHandle = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->InitDefaultAppName();
    // The program's one modal dialog runs inside InitInstance; what it answers changes nothing.
    pApp->InitInstance();
    return pApp->ExitInstance();
}
