// Plain 8-bit text put on the clipboard, as a copy command does.
#pragma once

#include <windows.h>

// Puts lpszText (in the program's code page) on the clipboard as CF_TEXT, replacing everything
// there. The clipboard is opened for hOwner, which owns it once it is emptied: with no window,
// SetClipboardData is documented to fail after EmptyClipboard. One attempt, no retry: while
// another program holds the clipboard open, nothing changes. TRUE when the text is there.
BOOL AfxSetClipboardText(HWND hOwner, LPCSTR lpszText);
