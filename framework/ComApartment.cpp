#include "framework/ComApartment.h"

#include <objbase.h>

namespace
{
using CoInitializeExProc = HRESULT(WINAPI*)(LPVOID, DWORD);

// ole32 from the system folder, loaded on first use and kept for the rest of the process.
CoInitializeExProc LoadCoInitializeEx()
{
    static CoInitializeExProc s_pfn = nullptr;
    if (s_pfn != nullptr)
        return s_pfn;
    WCHAR szPath[MAX_PATH];
    const UINT cch = GetSystemDirectoryW(szPath, MAX_PATH - 11);
    if (cch == 0 || cch >= MAX_PATH - 11)
        return nullptr;
    lstrcpyW(szPath + cch, L"\\ole32.dll");
    HMODULE hOle32 = LoadLibraryW(szPath);
    if (hOle32 == nullptr)
        return nullptr;
    s_pfn = reinterpret_cast<CoInitializeExProc>(
        reinterpret_cast<void*>(GetProcAddress(hOle32, "CoInitializeEx")));
    return s_pfn;
}
} // namespace

BOOL AfxEnterComApartment()
{
    // The program has one user-interface thread; remembering the last thread that entered is
    // enough to initialise each thread once.
    static DWORD s_dwEnteredThread = 0;
    static BOOL s_bEntered = FALSE;
    if (s_dwEnteredThread == GetCurrentThreadId())
        return s_bEntered;
    CoInitializeExProc pfnCoInitializeEx = LoadCoInitializeEx();
    if (pfnCoInitializeEx == nullptr)
        return FALSE;
    // S_FALSE: already in an apartment of this kind, which counts once more; neither is undone.
    const HRESULT hr =
        pfnCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    s_dwEnteredThread = GetCurrentThreadId();
    s_bEntered = SUCCEEDED(hr);
    return s_bEntered;
}
