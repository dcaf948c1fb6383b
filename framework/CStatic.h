// A static control: text, icon or picture.
#pragma once

#include "framework/CWnd.h"

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)

public:
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return reinterpret_cast<HBITMAP>(
            SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
};
