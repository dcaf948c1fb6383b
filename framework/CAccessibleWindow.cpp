#include "framework/CAccessibleWindow.h"

#include "framework/AccessibilityLibrary.h"
#include "framework/ComApartment.h"

CAccessibleWindow::CAccessibleWindow(HWND hWnd) : m_hWnd(hWnd) {}

CAccessibleWindow::~CAccessibleWindow()
{
    Disconnect();
}

LRESULT CAccessibleWindow::Answer(WPARAM wParam)
{
    if (!IsConnected())
        return 0;
    // Handing the object to another process marshals it, which needs the thread in an apartment.
    if (!AfxEnterComApartment())
        return 0;
    if (m_pStandard == nullptr)
        AfxCreateStdAccessibleObject(m_hWnd, OBJID_CLIENT, kIIDAccessible,
                                     reinterpret_cast<void**>(&m_pStandard));
    const LRESULT lResult =
        AfxLresultFromObject(kIIDAccessible, wParam, static_cast<IAccessible*>(this));
    // Success is a positive token; a failure is a negative error code.
    return lResult > 0 ? lResult : 0;
}

void CAccessibleWindow::Disconnect()
{
    m_hWnd = nullptr;
    if (m_pStandard != nullptr)
    {
        IAccessible* pStandard = m_pStandard;
        m_pStandard = nullptr;
        pStandard->Release();
    }
}

STDMETHODIMP CAccessibleWindow::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid != __uuidof(IUnknown) && riid != __uuidof(IDispatch) && riid != kIIDAccessible)
    {
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    *ppvObject = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleWindow::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) CAccessibleWindow::Release()
{
    const LONG cRef = InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        delete this;
    return static_cast<ULONG>(cRef);
}

STDMETHODIMP CAccessibleWindow::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return IsConnected() ? S_OK : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessibleWindow::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return IsConnected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessibleWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return IsConnected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessibleWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                       EXCEPINFO*, UINT*)
{
    return IsConnected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessibleWindow::get_accParent(IDispatch** ppdispParent)
{
    return Delegate([&](IAccessible* p) { return p->get_accParent(ppdispParent); });
}

STDMETHODIMP CAccessibleWindow::get_accChildCount(long* pcountChildren)
{
    return Delegate([&](IAccessible* p) { return p->get_accChildCount(pcountChildren); });
}

STDMETHODIMP CAccessibleWindow::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    return Delegate([&](IAccessible* p) { return p->get_accChild(varChild, ppdispChild); });
}

STDMETHODIMP CAccessibleWindow::get_accName(VARIANT varChild, BSTR* pszName)
{
    return Delegate([&](IAccessible* p) { return p->get_accName(varChild, pszName); });
}

STDMETHODIMP CAccessibleWindow::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    return Delegate([&](IAccessible* p) { return p->get_accValue(varChild, pszValue); });
}

STDMETHODIMP CAccessibleWindow::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return Delegate([&](IAccessible* p)
                    { return p->get_accDescription(varChild, pszDescription); });
}

STDMETHODIMP CAccessibleWindow::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return Delegate([&](IAccessible* p) { return p->get_accRole(varChild, pvarRole); });
}

STDMETHODIMP CAccessibleWindow::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return Delegate([&](IAccessible* p) { return p->get_accState(varChild, pvarState); });
}

STDMETHODIMP CAccessibleWindow::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return Delegate([&](IAccessible* p) { return p->get_accHelp(varChild, pszHelp); });
}

STDMETHODIMP CAccessibleWindow::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild,
                                                 long* pidTopic)
{
    return Delegate([&](IAccessible* p)
                    { return p->get_accHelpTopic(pszHelpFile, varChild, pidTopic); });
}

STDMETHODIMP CAccessibleWindow::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    return Delegate([&](IAccessible* p)
                    { return p->get_accKeyboardShortcut(varChild, pszKeyboardShortcut); });
}

STDMETHODIMP CAccessibleWindow::get_accFocus(VARIANT* pvarChild)
{
    return Delegate([&](IAccessible* p) { return p->get_accFocus(pvarChild); });
}

STDMETHODIMP CAccessibleWindow::get_accSelection(VARIANT* pvarChildren)
{
    return Delegate([&](IAccessible* p) { return p->get_accSelection(pvarChildren); });
}

STDMETHODIMP CAccessibleWindow::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return Delegate([&](IAccessible* p)
                    { return p->get_accDefaultAction(varChild, pszDefaultAction); });
}

STDMETHODIMP CAccessibleWindow::accSelect(long flagsSelect, VARIANT varChild)
{
    return Delegate([&](IAccessible* p) { return p->accSelect(flagsSelect, varChild); });
}

STDMETHODIMP CAccessibleWindow::accLocation(long* pxLeft, long* pyTop, long* pcxWidth,
                                            long* pcyHeight, VARIANT varChild)
{
    return Delegate([&](IAccessible* p)
                    { return p->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild); });
}

STDMETHODIMP CAccessibleWindow::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    return Delegate([&](IAccessible* p) { return p->accNavigate(navDir, varStart, pvarEndUpAt); });
}

STDMETHODIMP CAccessibleWindow::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    return Delegate([&](IAccessible* p) { return p->accHitTest(xLeft, yTop, pvarChild); });
}

STDMETHODIMP CAccessibleWindow::accDoDefaultAction(VARIANT varChild)
{
    return Delegate([&](IAccessible* p) { return p->accDoDefaultAction(varChild); });
}

STDMETHODIMP CAccessibleWindow::put_accName(VARIANT varChild, BSTR szName)
{
    return Delegate([&](IAccessible* p) { return p->put_accName(varChild, szName); });
}

STDMETHODIMP CAccessibleWindow::put_accValue(VARIANT varChild, BSTR szValue)
{
    return Delegate([&](IAccessible* p) { return p->put_accValue(varChild, szValue); });
}

bool CAccessibleWindow::IsSelf(const VARIANT& varChild)
{
    return varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF;
}

HRESULT CAccessibleWindow::AnswerText(LPCWSTR lpszText, BSTR* pszText)
{
    if (pszText == nullptr)
        return E_POINTER;
    *pszText = AfxAllocSysString(lpszText);
    return *pszText != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleWindow::AnswerNumber(LONG nValue, VARIANT* pvarValue)
{
    if (pvarValue == nullptr)
        return E_POINTER;
    pvarValue->vt = VT_I4;
    pvarValue->lVal = nValue;
    return S_OK;
}
