// What a screen reader is told of a link label: a link (role), named by the text it shows, whose
// value is the address it opens, focusable and linked (focused while it has the focus, traversed
// once visited), placed where its text is, whose default action follows it as Enter does. The rest
// (parent, navigation, help) is the window's standard object's.
#pragma once

#include "framework/CAccessibleWindow.h"

class CLinkURLStatic;

class CLinkAccessible : public CAccessibleWindow
{
public:
    // The label must call Disconnect before it or its window goes.
    explicit CLinkAccessible(CLinkURLStatic& label);

    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                             VARIANT varChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;

private:
    // Whether the call is about the link itself while its window lives: the label is touched only
    // then.
    bool AboutLiveLink(const VARIANT& varChild) const { return IsConnected() && IsSelf(varChild); }

    CLinkURLStatic& m_label;
};
