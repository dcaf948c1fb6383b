#include "framework/CPictureAccessible.h"

CPictureAccessible::CPictureAccessible(HWND hWnd, LPCWSTR lpszName) : CAccessibleWindow(hWnd)
{
    const int cchName = lstrlenW(lpszName);
    m_pszName = new WCHAR[static_cast<size_t>(cchName) + 1];
    lstrcpyW(m_pszName, lpszName);
}

CPictureAccessible::~CPictureAccessible()
{
    delete[] m_pszName;
}

STDMETHODIMP CPictureAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!IsConnected() || !IsSelf(varChild))
        return CAccessibleWindow::get_accName(varChild, pszName);
    return AnswerText(m_pszName, pszName);
}

STDMETHODIMP CPictureAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!IsConnected() || !IsSelf(varChild))
        return CAccessibleWindow::get_accRole(varChild, pvarRole);
    return AnswerNumber(ROLE_SYSTEM_GRAPHIC, pvarRole);
}
