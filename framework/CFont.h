// A font made from a description.
#pragma once

#include "framework/CGdiObject.h"

class CFont : public CGdiObject
{
public:
    // The description in UTF-16: a face name outside the system's ANSI code page (a Japanese one
    // on a Western system) survives.
    BOOL CreateFontIndirect(const LOGFONTW* pLogFont)
    {
        return Attach(::CreateFontIndirectW(pLogFont));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
