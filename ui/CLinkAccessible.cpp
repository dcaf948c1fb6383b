#include "ui/CLinkAccessible.h"

#include "framework/CString.h"
#include "framework/CWideText.h"
#include "framework/CWnd.h"
#include "framework/StringResource.h"
#include "res/resource.h"
#include "ui/CLinkURLStatic.h"

CLinkAccessible::CLinkAccessible(CLinkURLStatic& label)
    : CAccessibleWindow(label.m_hWnd), m_label(label)
{
}

STDMETHODIMP CLinkAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::get_accName(varChild, pszName);
    // The text as shown, in UTF-16 from the window itself.
    return AnswerText(AfxGetWindowTextWide(GetWindowHandle()), pszName);
}

STDMETHODIMP CLinkAccessible::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::get_accValue(varChild, pszValue);
    m_label.EnsureURL();
    return AnswerText(CWideText(m_label.m_strURL), pszValue);
}

STDMETHODIMP CLinkAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::get_accRole(varChild, pvarRole);
    return AnswerNumber(ROLE_SYSTEM_LINK, pvarRole);
}

STDMETHODIMP CLinkAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::get_accState(varChild, pvarState);
    HWND hWnd = GetWindowHandle();
    LONG nState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
    if (::GetFocus() == hWnd)
        nState |= STATE_SYSTEM_FOCUSED;
    if (m_label.m_bVisited)
        nState |= STATE_SYSTEM_TRAVERSED;
    if (!::IsWindowVisible(hWnd))
        nState |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(hWnd))
        nState |= STATE_SYSTEM_UNAVAILABLE;
    return AnswerNumber(nState, pvarState);
}

STDMETHODIMP CLinkAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::get_accDefaultAction(varChild, pszDefaultAction);
    CString strAction;
    if (!AfxLoadString(IDS_LINK_DEFAULT_ACTION, strAction))
        return E_FAIL;
    return AnswerText(CWideText(strAction, AfxGetStringCodePage(IDS_LINK_DEFAULT_ACTION)),
                      pszDefaultAction);
}

// The link is the box its text covers, not the whole control.
STDMETHODIMP CLinkAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth,
                                          long* pcyHeight, VARIANT varChild)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr)
        return E_POINTER;
    const RECT& rcText = m_label.TextBox();
    POINT ptTopLeft = {rcText.left, rcText.top};
    ::ClientToScreen(GetWindowHandle(), &ptTopLeft);
    *pxLeft = ptTopLeft.x;
    *pyTop = ptTopLeft.y;
    *pcxWidth = rcText.right - rcText.left;
    *pcyHeight = rcText.bottom - rcText.top;
    return S_OK;
}

STDMETHODIMP CLinkAccessible::accDoDefaultAction(VARIANT varChild)
{
    if (!AboutLiveLink(varChild))
        return CAccessibleWindow::accDoDefaultAction(varChild);
    m_label.FollowLink();
    return S_OK;
}
