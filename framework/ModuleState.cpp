#include "framework/ModuleState.h"

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE s_state;
    return &s_state;
}

CWinApp* AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentInstanceHandle == nullptr)
        pState->m_hCurrentInstanceHandle = GetModuleHandleA(nullptr);
    return pState->m_hCurrentInstanceHandle;
}

HINSTANCE AfxGetResourceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentResourceHandle == nullptr)
        pState->m_hCurrentResourceHandle = AfxGetInstanceHandle();
    return pState->m_hCurrentResourceHandle;
}
