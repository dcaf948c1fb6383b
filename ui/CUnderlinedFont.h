// The underlined copy of a font that a link draws its text in, and the height a line of it needs
// for its underline to show.
#pragma once

#include "framework/CFont.h"

class CUnderlinedFont : public CFont
{
public:
    // Makes the copy of hFont unless one exists already. A null hFont stands for the system font,
    // the one every device context starts with, which a control that reports no font draws with.
    // FALSE, and no font, when the description cannot be read or the copy cannot be made.
    BOOL CreateCopyOf(HFONT hFont);

    // The height from the top of a line to the bottom of its underline (at least the cell's
    // height), measured on hDC; 0 when the font keeps its underline inside its cell (a bitmap
    // font, which reports no outline metrics) or there is no copy.
    LONG HeightWithUnderline(HDC hDC) const;
};
