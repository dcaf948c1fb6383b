#include "framework/ComApartment.h"

#include "framework/SystemLibrary.h"

#include <objbase.h>

namespace
{
using CoInitializeExProc = HRESULT(WINAPI*)(LPVOID, DWORD);
} // namespace

BOOL AfxEnterComApartment()
{
    // The program has one user-interface thread; remembering the last thread that entered is
    // enough to initialise each thread once.
    static DWORD s_dwEnteredThread = 0;
    static BOOL s_bEntered = FALSE;
    if (s_dwEnteredThread == GetCurrentThreadId())
        return s_bEntered;
    const auto pfnCoInitializeEx = reinterpret_cast<CoInitializeExProc>(
        reinterpret_cast<void*>(AfxGetSystemProc(L"ole32.dll", "CoInitializeEx")));
    if (pfnCoInitializeEx == nullptr)
        return FALSE;
    // S_FALSE: already in an apartment of this kind, which counts once more; neither is undone.
    const HRESULT hr =
        pfnCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    s_dwEnteredThread = GetCurrentThreadId();
    s_bEntered = SUCCEEDED(hr);
    return s_bEntered;
}
