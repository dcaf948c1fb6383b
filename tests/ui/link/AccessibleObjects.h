// What a screen reader asks a window for, in process or from another one: the window's client
// object, and the child id that names the object itself.
#pragma once

#include "framework/AccessibilityLibrary.h"

#include <windows.h>

#include <oleacc.h>

// The window's client object as a reader gets it (WM_GETOBJECT through the accessibility
// library), or null.
inline IAccessible* ObjectOf(HWND hWnd)
{
    IAccessible* pAcc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT), kIIDAccessible,
                                          reinterpret_cast<void**>(&pAcc))))
        return nullptr;
    return pAcc;
}

// The child id that asks an object about itself.
inline VARIANT Self()
{
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}
