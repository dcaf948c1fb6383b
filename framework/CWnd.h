// Window wrapper (filled in with the dialog layer).
#pragma once

#include <windows.h>

class CWnd
{
public:
    virtual ~CWnd() = default;
    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND m_hWnd = nullptr;
};
