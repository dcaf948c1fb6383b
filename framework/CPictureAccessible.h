// What a screen reader is told of a picture that stands for something: a graphic with a name of
// its owner's choosing, where the system's standard object would report an unnamed graphic (or,
// under Wine, a plain client area). The rest is the standard object's.
#pragma once

#include "framework/CAccessibleWindow.h"

class CPictureAccessible : public CAccessibleWindow
{
public:
    CPictureAccessible(HWND hWnd, LPCWSTR lpszName);
    ~CPictureAccessible() override;

    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;

private:
    WCHAR* m_pszName = nullptr;
};
