#include "framework/SystemLibrary.h"

HMODULE AfxLoadSystemLibrary(LPCWSTR lpszName)
{
    WCHAR szPath[MAX_PATH];
    const UINT cchFolder = GetSystemDirectoryW(szPath, MAX_PATH);
    const int cchName = lstrlenW(lpszName);
    if (cchFolder == 0 || cchFolder + 1 + cchName >= MAX_PATH)
        return nullptr;
    szPath[cchFolder] = L'\\';
    lstrcpyW(szPath + cchFolder + 1, lpszName);
    return LoadLibraryW(szPath);
}

FARPROC AfxGetSystemProc(LPCWSTR lpszLibrary, LPCSTR lpszProc)
{
    HMODULE hModule = GetModuleHandleW(lpszLibrary);
    if (hModule == nullptr)
        hModule = AfxLoadSystemLibrary(lpszLibrary);
    return hModule != nullptr ? GetProcAddress(hModule, lpszProc) : nullptr;
}
