#include "ui/CBannerPicture.h"

#include "app/AppIdentity.h"
#include "framework/CPictureAccessible.h"
#include "framework/CWideText.h"

BEGIN_MESSAGE_MAP(CBannerPicture, CStatic)
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CBannerPicture::~CBannerPicture()
{
    ReleaseAccessible();
}

// The client area's object only: the other objects stay the system's.
LRESULT CBannerPicture::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return Default();
    if (m_pAccessible == nullptr)
        m_pAccessible = new CPictureAccessible(m_hWnd, CWideText(kProductTitle));
    const LRESULT lResult = m_pAccessible->Answer(wParam);
    return lResult != 0 ? lResult : Default();
}

void CBannerPicture::OnDestroy()
{
    ReleaseAccessible();
    CStatic::OnDestroy();
}

void CBannerPicture::ReleaseAccessible()
{
    CAccessibleWindow::DisconnectAndRelease(m_pAccessible);
}
