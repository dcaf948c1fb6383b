// The object that a window hands to assistive technology (a screen reader) for its client area.
// It answers every question as the system's standard object of the window does (parent,
// navigation, help, children...), and a derived class answers the few it knows better for itself
// (a link's role, value and action). Reference counted, it may outlive its window in a reader's
// hands: once Disconnect has cut it from the window, every method answers CO_E_OBJNOTCONNECTED
// without touching the window or its owner.
//
// The owner makes it on the first WM_GETOBJECT for OBJID_CLIENT, answers with Answer, and calls
// Disconnect and Release when its window is destroyed or the owner goes. A reader finds the window
// from the object through its parent, the standard window object.
#pragma once

#include <windows.h>

#include <oleacc.h>

class CAccessibleWindow : public IAccessible
{
public:
    explicit CAccessibleWindow(HWND hWnd);
    CAccessibleWindow(const CAccessibleWindow&) = delete;
    CAccessibleWindow& operator=(const CAccessibleWindow&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT: this object, handed over by the accessibility
    // library (loaded now if need be). 0 when it cannot be handed over, so that the owner lets the
    // window's default handling answer instead.
    LRESULT Answer(WPARAM wParam);
    // Cuts the object from its window for good and lets the standard object go.
    void Disconnect();
    // What an owner does when its window or the owner itself goes: disconnects the object it
    // holds, if any, gives up its reference, and forgets it.
    template <typename TAccessible> static void DisconnectAndRelease(TAccessible*& pAccessible)
    {
        if (pAccessible == nullptr)
            return;
        pAccessible->Disconnect();
        pAccessible->Release();
        pAccessible = nullptr;
    }
    bool IsConnected() const { return m_hWnd != nullptr; }
    HWND GetWindowHandle() const { return m_hWnd; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: no type information, as the standard objects give none; readers call IAccessible
    // directly.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                               DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                        UINT* puArgErr) override;

    // IAccessible, as the standard object answers it unless a derived class knows better.
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                             VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

protected:
    virtual ~CAccessibleWindow();

    // Whether a method's child argument names the object itself rather than a child of it.
    static bool IsSelf(const VARIANT& varChild);
    // A text answer: S_OK with a new BSTR, E_OUTOFMEMORY without.
    static HRESULT AnswerText(LPCWSTR lpszText, BSTR* pszText);
    // A number answer (role, state) in a VARIANT.
    static HRESULT AnswerNumber(LONG nValue, VARIANT* pvarValue);

    // Calls call(standard object) while connected: CO_E_OBJNOTCONNECTED after Disconnect,
    // E_NOTIMPL when the system made no standard object.
    template <typename Call> HRESULT Delegate(Call call) const
    {
        if (!IsConnected())
            return CO_E_OBJNOTCONNECTED;
        return m_pStandard != nullptr ? call(m_pStandard) : E_NOTIMPL;
    }

private:
    LONG m_cRef = 1;
    HWND m_hWnd;
    IAccessible* m_pStandard = nullptr;
};
