// String resources: stored as UTF-16 in blocks of sixteen, converted on loading to the multibyte
// code page that the program's texts use.
#pragma once

#include <windows.h>

class CString;

// The module whose string table has an entry block for nID, or null.
HINSTANCE AfxFindStringResourceHandle(UINT nID);

// Loads string nID from the resource module into rString. FALSE, and rString unchanged, when the
// id has no entry or the entry is empty.
BOOL AfxLoadString(UINT nID, CString& rString);

// The code page string resources are converted to, chosen once per process on first use.
UINT AfxGetConversionCodePage();
