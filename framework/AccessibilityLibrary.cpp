#include "framework/AccessibilityLibrary.h"

#include "framework/SystemLibrary.h"

namespace
{
using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringProc = BSTR(WINAPI*)(const OLECHAR*);

template <typename Proc> Proc SystemProc(LPCWSTR lpszLibrary, LPCSTR lpszProc)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(AfxGetSystemProc(lpszLibrary, lpszProc)));
}
} // namespace

HRESULT AfxCreateStdAccessibleObject(HWND hWnd, LONG idObject, REFIID riid, void** ppvObject)
{
    *ppvObject = nullptr;
    const auto pfnCreate =
        SystemProc<CreateStdAccessibleObjectProc>(L"oleacc.dll", "CreateStdAccessibleObject");
    return pfnCreate != nullptr ? pfnCreate(hWnd, idObject, riid, ppvObject) : E_FAIL;
}

LRESULT AfxLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* pUnknown)
{
    const auto pfnLresult = SystemProc<LresultFromObjectProc>(L"oleacc.dll", "LresultFromObject");
    return pfnLresult != nullptr ? pfnLresult(riid, wParam, pUnknown)
                                 : static_cast<LRESULT>(E_FAIL);
}

BSTR AfxAllocSysString(LPCWSTR lpsz)
{
    const auto pfnAlloc = SystemProc<SysAllocStringProc>(L"oleaut32.dll", "SysAllocString");
    return pfnAlloc != nullptr ? pfnAlloc(lpsz) : nullptr;
}
