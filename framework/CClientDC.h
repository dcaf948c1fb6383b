// The client-area device context of a window, released with the object.
#pragma once

#include <windows.h>

class CClientDC
{
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC()
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    operator HDC() const { return m_hDC; }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

private:
    HWND m_hWnd;
    HDC m_hDC;
};
