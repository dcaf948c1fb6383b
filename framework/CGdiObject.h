// Owns one GDI object handle (or none) and deletes it with itself.
#pragma once

#include "framework/CObject.h"

#include <windows.h>

class CGdiObject : public CObject
{
public:
    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int cbBuffer, void* pBuffer) const;

    HGDIOBJ m_hObject = nullptr;
};
