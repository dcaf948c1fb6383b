// The system's accessibility library (oleacc), loaded from the system folder when assistive
// technology first asks a window for its object, not at start-up: most players run no screen
// reader, and the program imports neither it nor oleaut32.
#pragma once

#include <windows.h>

#include <oleacc.h>

// IAccessible's interface id, spelt here: the import library gives IID_IAccessible as a data
// import, which taken as a plain object is the address of a thunk, and every request for it fails.
constexpr IID kIIDAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// CreateStdAccessibleObject: the object the system makes for hWnd. E_FAIL when oleacc cannot be
// loaded.
HRESULT AfxCreateStdAccessibleObject(HWND hWnd, LONG idObject, REFIID riid, void** ppvObject);

// LresultFromObject: the answer to WM_GETOBJECT that hands pUnknown to the asking process (the
// calling thread must be in a COM apartment). A negative error code on failure, E_FAIL when oleacc
// cannot be loaded.
LRESULT AfxLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* pUnknown);

// SysAllocString from oleaut32 (which oleacc loads): the caller's BSTR, null when out of memory or
// when oleaut32 cannot be loaded.
BSTR AfxAllocSysString(LPCWSTR lpsz);
