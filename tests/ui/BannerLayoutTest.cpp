// The banner layout arithmetic on its own: where the banner goes, how far the other controls move
// and what the dialog's client area becomes, for bitmaps wider, narrower and as wide as the
// dialog, with and without a bitmap, and with placeholders of every height.
#include "ui/BannerLayout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{
// A 408 x 96 bitmap, the banner's real size, unless a row says otherwise.
const SIZE kBitmap = {408, 96};
// A placeholder 30 x 33 pixels with an 11-pixel margin: with the bitmap it needs 430 pixels.
const RECT kPlaceholder = {11, 11, 41, 44};

struct LayoutCase
{
    const char* name;
    bool bHasBitmap;
    SIZE bitmapSize;
    RECT placeholder;
    RECT clientRect;
    // Expected:
    bool bMoveBanner;
    POINT bannerTopLeft; // only looked at when bMoveBanner
    int dx;
    int dy;
    RECT newClientRect;
};

std::string Describe(const RECT& rc)
{
    char szText[64];
    snprintf(szText, sizeof(szText), "{%ld, %ld, %ld, %ld}", rc.left, rc.top, rc.right, rc.bottom);
    return szText;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(BannerLayout, PlacesTheBannerAndMovesTheControlsForEveryWidthAndHeight)
{
    // clang-format off
    const LayoutCase cases[] = {
        {"bitmap with margins wider than the client: the dialog widens by 54, controls move 27",
         true, kBitmap, kPlaceholder, {0, 0, 376, 390},
         false, {0, 0}, 27, 63, {0, 0, 430, 453}},
        {"odd widening of 55: the controls move 27, the dialog still gets the full 430",
         true, kBitmap, kPlaceholder, {0, 0, 375, 390},
         false, {0, 0}, 27, 63, {0, 0, 430, 453}},
        {"client wider than bitmap with margins: the banner is centred, nothing else moves "
         "sideways",
         true, kBitmap, kPlaceholder, {0, 0, 500, 390},
         true, {46, 11}, 0, 63, {0, 0, 500, 453}},
        {"odd surplus of 93 around the banner: it goes to 46",
         true, kBitmap, kPlaceholder, {0, 0, 501, 390},
         true, {46, 11}, 0, 63, {0, 0, 501, 453}},
        {"exactly as wide as bitmap with margins: nothing moves sideways",
         true, kBitmap, kPlaceholder, {0, 0, 430, 390},
         false, {0, 0}, 0, 63, {0, 0, 430, 453}},
        {"no margin, exactly the bitmap's width",
         true, kBitmap, {0, 0, 20, 20}, {0, 0, 408, 300},
         false, {0, 0}, 0, 76, {0, 0, 408, 376}},
        {"placeholder taller than the bitmap: the dialog shrinks, the controls move up",
         true, kBitmap, {11, 11, 41, 131}, {0, 0, 430, 390},
         false, {0, 0}, 0, -24, {0, 0, 430, 366}},
        {"placeholder as tall as the bitmap: nothing moves down",
         true, kBitmap, {11, 11, 41, 107}, {0, 0, 430, 390},
         false, {0, 0}, 0, 0, {0, 0, 430, 390}},
        {"placeholder shorter than a small bitmap, with an odd surplus to centre in",
         true, {101, 50}, kPlaceholder, {0, 0, 376, 390},
         true, {137, 11}, 0, 17, {0, 0, 376, 407}},
        {"no bitmap: nothing moves sideways or down, the client area stays",
         false, {0, 0}, kPlaceholder, {0, 0, 376, 390},
         true, {173, 11}, 0, 0, {0, 0, 376, 390}},
    };
    // clang-format on
    for (const LayoutCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        BannerLayoutInput input = {};
        input.bHasBitmap = c.bHasBitmap;
        input.bitmapSize = c.bitmapSize;
        input.placeholder = c.placeholder;
        input.clientRect = c.clientRect;

        const BannerLayout layout = ComputeBannerLayout(input);
        EXPECT_EQ(layout.bMoveBanner, c.bMoveBanner);
        if (c.bMoveBanner)
        {
            EXPECT_EQ(layout.bannerTopLeft.x, c.bannerTopLeft.x);
            EXPECT_EQ(layout.bannerTopLeft.y, c.bannerTopLeft.y);
        }
        EXPECT_EQ(layout.dx, c.dx);
        EXPECT_EQ(layout.dy, c.dy);
        EXPECT_TRUE(SameRect(layout.clientRect, c.newClientRect))
            << "got " << Describe(layout.clientRect) << ", expected " << Describe(c.newClientRect);
    }
}
} // namespace
