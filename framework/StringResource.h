// String resources: stored as UTF-16 in blocks of sixteen, converted on loading to the multibyte
// code page of the language set they came from.
#pragma once

#include <windows.h>

class CString;

// Loads string nID from the resource module into rString, in the code page of the language set
// whose block answered (AfxGetStringCodePage). FALSE, and rString unchanged, when the id has no
// entry or the entry is empty.
BOOL AfxLoadString(UINT nID, CString& rString);

// The code page that string nID is converted to: that of the language of the block the resource
// loader picks for it (949 Korean, 932 Japanese, 950 Chinese), whatever the thread's or the
// system's code page. The system's ANSI code page when there is no such block.
UINT AfxGetStringCodePage(UINT nID);

// The code page of the language set in force, the one the program's texts are in: that of the
// framework's own title string, which a program on this framework carries in each of its sets.
UINT AfxGetConversionCodePage();
