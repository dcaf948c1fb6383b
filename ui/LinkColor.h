// The choice of a link's text colour, from what the user did with the link and whether the
// system's high-contrast setting is on. Arithmetic only: no window is asked.
#pragma once

#include <windows.h>

// The three colours a link's text takes by its state.
struct LinkPalette
{
    COLORREF crNormal;  // not visited, pointer off the text, not pressed
    COLORREF crHover;   // not visited, pointer on the text or pressed
    COLORREF crVisited; // visited, whatever else
};

// The colour for the link's state: visited wins over everything; otherwise a press or the pointer
// on the text shows the hover colour.
COLORREF LinkStateColor(const LinkPalette& palette, bool bVisited, bool bPressed,
                        bool bPointerOnText);

// The colour the text is drawn in. Under high contrast the scheme's colour for links (the
// hot-light colour) stands for every state: the blue, red and purple could not be read on the
// scheme's background, and the underline still marks the link.
COLORREF LinkDrawnColor(COLORREF crState, bool bHighContrast, COLORREF crHotLight);
