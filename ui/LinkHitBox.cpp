#include "ui/LinkHitBox.h"

SIZE MeasureLinkText(const char* pszText, LinkTextMeasure pfnMeasure, void* pContext,
                     LinkLeadByteTest pfnIsLeadByte)
{
    SIZE sizeTotal = {0, 0};
    const char* pch = pszText;
    while (*pch != '\0')
    {
        // pch[1] is at worst the terminating zero, so looking at it never reads past the text.
        const int cch = pfnIsLeadByte(static_cast<BYTE>(*pch)) && pch[1] != '\0' ? 2 : 1;
        const SIZE sizeChar = pfnMeasure(pContext, pch, cch);
        sizeTotal.cx += sizeChar.cx;
        if (sizeChar.cy > sizeTotal.cy)
            sizeTotal.cy = sizeChar.cy;
        pch += cch;
    }
    return sizeTotal;
}

SIZE MeasureWithDC(void* pContext, const char* pch, int cch)
{
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32A(static_cast<HDC>(pContext), pch, cch, &size))
        return SIZE{0, 0};
    return size;
}

RECT LinkTextBox(const RECT& rcClient, SIZE sizeText, DWORD dwStyle)
{
    RECT rc = rcClient;
    const LONG cx = sizeText.cx;
    const LONG cy = sizeText.cy;

    switch (dwStyle & SS_TYPEMASK)
    {
        case SS_CENTER:
            if (rc.right - rc.left > cx)
            {
                rc.left += (rc.right - rc.left - cx) / 2;
                rc.right = rc.left + cx;
            }
            break;
        case SS_RIGHT:
            if (rc.right - cx > rc.left)
                rc.left = rc.right - cx;
            break;
        default:
            if (rc.left + cx < rc.right)
                rc.right = rc.left + cx;
            break;
    }

    if ((dwStyle & SS_CENTERIMAGE) != 0)
    {
        if (rc.bottom - rc.top > cy)
        {
            rc.top += (rc.bottom - rc.top - cy) / 2;
            rc.bottom = rc.top + cy;
        }
    }
    else if (rc.top + cy < rc.bottom)
    {
        rc.bottom = rc.top + cy;
    }
    return rc;
}
