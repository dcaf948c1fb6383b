#include "ui/CUnderlinedFont.h"

#include <string.h>

BOOL CUnderlinedFont::CreateCopyOf(HFONT hFont)
{
    if (GetSafeHandle() != nullptr)
        return TRUE;
    if (hFont == nullptr)
        hFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    // The description is read and made in UTF-16: a face name outside the ANSI code page (a
    // Korean one on a Western system) would come back as question marks and pick another face.
    LOGFONTW lf;
    memset(&lf, 0, sizeof(lf));
    if (::GetObjectW(hFont, sizeof(lf), &lf) == 0)
        return FALSE;
    lf.lfUnderline = 1;
    return CreateFontIndirect(&lf);
}

// A font may draw its underline below its character cell (under Wine, NanumGothic standing in for
// Gulim does): the line needs the deeper of the two.
LONG CUnderlinedFont::HeightWithUnderline(HDC hDC) const
{
    if (GetSafeHandle() == nullptr)
        return 0;
    OUTLINETEXTMETRICW otm;
    memset(&otm, 0, sizeof(otm));
    otm.otmSize = sizeof(otm);
    HGDIOBJ hOldFont = ::SelectObject(hDC, GetSafeHandle());
    const UINT cbMetrics = ::GetOutlineTextMetricsW(hDC, sizeof(otm), &otm);
    ::SelectObject(hDC, hOldFont);
    if (cbMetrics == 0)
        return 0;
    // The underline's band lies below the baseline by the underscore position (negative below).
    const LONG cyUnderline = otm.otmTextMetrics.tmAscent - otm.otmsUnderscorePosition +
                             static_cast<LONG>(otm.otmsUnderscoreSize);
    return cyUnderline > otm.otmTextMetrics.tmHeight ? cyUnderline : otm.otmTextMetrics.tmHeight;
}
