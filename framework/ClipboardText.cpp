#include "framework/ClipboardText.h"

#include <string.h>

namespace
{
// A movable block holding the text and its terminating zero, or null.
HGLOBAL CopyToGlobalBlock(LPCSTR lpszText)
{
    const SIZE_T cbText = strlen(lpszText) + 1;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, cbText);
    if (hText == nullptr)
        return nullptr;
    void* pText = ::GlobalLock(hText);
    if (pText == nullptr)
    {
        ::GlobalFree(hText);
        return nullptr;
    }
    memcpy(pText, lpszText, cbText);
    ::GlobalUnlock(hText);
    return hText;
}
} // namespace

BOOL AfxSetClipboardText(HWND hOwner, LPCSTR lpszText)
{
    HGLOBAL hText = CopyToGlobalBlock(lpszText);
    if (hText == nullptr)
        return FALSE;
    if (!::OpenClipboard(hOwner))
    {
        ::GlobalFree(hText);
        return FALSE;
    }
    if (!::EmptyClipboard())
    {
        ::GlobalFree(hText);
        ::CloseClipboard();
        return FALSE;
    }
    // On success the clipboard owns the block.
    const BOOL bSet = ::SetClipboardData(CF_TEXT, hText) != nullptr;
    if (!bSet)
        ::GlobalFree(hText);
    ::CloseClipboard();
    return bSet;
}
