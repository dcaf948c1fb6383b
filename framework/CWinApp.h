// The application object: registry identity and the application key, the application name that
// captions message boxes, the wait cursor, and the run of the program.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp
{
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();

    // Called once after the framework's start-up; the application runs its windows here. The
    // framework has no message loop of its own: when InitInstance returns, the program ends.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Values then live under HKEY_CURRENT_USER\Software\<lpszRegistryKey>\<profile name>; the
    // profile name becomes a copy of the current application name.
    void SetRegistryKey(LPCSTR lpszRegistryKey);

    // The application's key, created where missing, as a parent of the keys below it: it holds the
    // right to create subkeys where its permissions give it, else only the right to read. The
    // caller opens the subkeys with the rights each step uses, and closes the key. Null on
    // failure.
    HKEY GetAppRegistryKey();

    void BeginWaitCursor();
    void EndWaitCursor();

    // Heap strings owned by the application object and freed when it is destroyed. The
    // application name is kept here alone: AfxGetAppName reads it from the application object.
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

    // Sets the default application name (string 57344, or the program's file name) when none was
    // given to the constructor. Part of the framework's start-up.
    void InitDefaultAppName();

private:
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
};

// Heap copies of the kind CWinApp frees at exit.
LPSTR AfxStrDup(LPCSTR psz);
void AfxStrFree(LPCSTR psz);

// The current application's name (m_pszAppName), or "" before there is one.
LPCSTR AfxGetAppName();

// A message box with the application name as caption, owned by the application's main window (or
// its active popup) while that exists. lpszText is in the program's multibyte code page.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// The framework's start-up and run: the program's WinMain calls this.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
