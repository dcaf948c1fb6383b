#include "ui/LinkColor.h"

COLORREF LinkStateColor(const LinkPalette& palette, bool bVisited, bool bPressed,
                        bool bPointerOnText)
{
    if (bVisited)
        return palette.crVisited;
    return bPressed || bPointerOnText ? palette.crHover : palette.crNormal;
}

COLORREF LinkDrawnColor(COLORREF crState, bool bHighContrast, COLORREF crHotLight)
{
    return bHighContrast ? crHotLight : crState;
}
