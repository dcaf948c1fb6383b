#include "ui/BannerLayout.h"

BannerLayout ComputeBannerLayout(const BannerLayoutInput& input)
{
    BannerLayout layout = {};
    layout.clientRect = input.clientRect;

    int needWidth = 0;
    int bannerWidth = input.placeholder.right - input.placeholder.left;
    if (input.bHasBitmap)
    {
        const int placeholderHeight = input.placeholder.bottom - input.placeholder.top;
        layout.dy = input.bitmapSize.cy - placeholderHeight;
        needWidth = input.bitmapSize.cx + 2 * input.placeholder.left;
        bannerWidth = input.bitmapSize.cx;
    }

    const int clientWidth = input.clientRect.right - input.clientRect.left;
    if (clientWidth < needWidth)
    {
        layout.dx = (needWidth - clientWidth) / 2;
        layout.clientRect.right = needWidth;
    }
    else if (clientWidth > needWidth)
    {
        layout.bMoveBanner = true;
        layout.bannerTopLeft = {(clientWidth - bannerWidth) / 2, input.placeholder.top};
    }
    layout.clientRect.bottom += layout.dy;
    return layout;
}
