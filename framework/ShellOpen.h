// Opening a file or an address the way the user's shell does ("open", as a double click would),
// with shell32 loaded on the first open rather than at start-up: most runs open nothing, and
// loading shell32 with the program made up a fair part of its start-up time.
#pragma once

#include <windows.h>

// Opens lpszFile (an address such as "http://...") with its registered handler, the calling
// thread first entering a COM apartment as the shell asks of its callers (AfxEnterComApartment).
// ShellExecute's answer: a value above 32 on success, an error code up to 32 otherwise
// (SE_ERR_NOASSOC 31 when nothing handles it; 0 when shell32 could not be loaded).
HINSTANCE AfxShellOpen(LPCSTR lpszFile);
