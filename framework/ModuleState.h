// Module-wide state of the framework: the application object and the module handles. The
// application's name lives in the application object (AfxGetAppName in CWinApp.h).
#pragma once

#include <windows.h>

class CWinApp;

struct AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
