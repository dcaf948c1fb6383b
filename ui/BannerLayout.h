// Where the banner and the other controls go once the banner bitmap's real size is known. Pure
// arithmetic in pixels, apart from the dialog's window.
#pragma once

#include <windows.h>

struct BannerLayoutInput
{
    bool bHasBitmap;  // the bitmap loaded
    SIZE bitmapSize;  // its width and height
    RECT placeholder; // the banner control before resizing, in client coordinates
    RECT clientRect;  // the dialog's client rectangle
};

struct BannerLayout
{
    bool bMoveBanner;    // centre the banner: move it to bannerTopLeft
    POINT bannerTopLeft; // client coordinates
    int dx;              // how far every control after the banner moves right
    int dy;              // and down
    RECT clientRect;     // the dialog's new client rectangle
};

// The banner keeps its left margin on both sides when that needs more width than the dialog has:
// the dialog widens and the other controls move right by half the widening. When the dialog is
// wider, the banner is centred instead (a hidden one too, harmlessly). The dialog grows by the
// bitmap's height less the placeholder's, and the controls below move down by as much. Without a
// bitmap nothing else moves.
BannerLayout ComputeBannerLayout(const BannerLayoutInput& input);
