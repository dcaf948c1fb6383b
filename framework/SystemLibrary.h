// A DLL of the system that the program loads only when it first needs it, so that a run which never
// needs it neither loads it at start-up nor imports it.
#pragma once

#include <windows.h>

// lpszName (such as L"shell32.dll") from the system folder, never from the program's own folder
// or the current one; null when it cannot be loaded. The DLL stays loaded for the process.
HMODULE AfxLoadSystemLibrary(LPCWSTR lpszName);

// The address of lpszProc in the system DLL lpszLibrary, loading the DLL where needed; null when
// either is missing.
FARPROC AfxGetSystemProc(LPCWSTR lpszLibrary, LPCSTR lpszProc);
