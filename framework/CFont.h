// A font made from a description.
#pragma once

#include "framework/CGdiObject.h"

class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONTA* pLogFont)
    {
        return Attach(::CreateFontIndirectA(pLogFont));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
