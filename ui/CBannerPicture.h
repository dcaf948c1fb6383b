// The banner picture at the top of the main dialog. A screen reader meets it first: it is named
// with the product title instead of being an unnamed graphic. Its object (CPictureAccessible) is
// made on the first request of assistive technology, so a player without one pays nothing.
#pragma once

#include "framework/CStatic.h"

class CPictureAccessible;

class CBannerPicture : public CStatic
{
public:
    CBannerPicture() = default;
    ~CBannerPicture() override;

protected:
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseAccessible();

    CPictureAccessible* m_pAccessible = nullptr;
};
