// The device context of one WM_PAINT, between BeginPaint and EndPaint.
#pragma once

#include <windows.h>

class CPaintDC
{
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    operator HDC() const { return m_hDC; }

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
    HDC m_hDC;
};
