// A bitmap loaded from the program's resources.
#pragma once

#include "framework/CGdiObject.h"

class CBitmap : public CGdiObject
{
public:
    BOOL LoadBitmap(UINT nIDResource);
    int GetBitmap(BITMAP* pBitmap) const { return GetObject(sizeof(BITMAP), pBitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
