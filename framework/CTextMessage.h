// A window message that carries text, as the program's handlers see it.
//
// Every window the framework owns has a Unicode procedure, so that whoever asks a window for its
// text (WM_GETTEXT sent wide, as screen readers and UI automation do) is answered in UTF-16 and
// reads what is shown, whatever the system's code page. The program's own texts are multibyte, in
// the code page they are made in (AfxGetConversionCodePage): a handler named in a message map gets
// the message's text converted to that code page here, and text it answers is converted back for
// the wide caller. The default handling (CWnd::Default) keeps the wide original untouched.
//
// Converted: WM_NCCREATE and WM_CREATE (the creation's window and class names), WM_SETTEXT,
// WM_GETTEXT, WM_GETTEXTLENGTH (an upper bound, as the platform documents it) and WM_SETTINGCHANGE
// (the name of the changed section). Every other message reaches the handler as it came.
#pragma once

#include "framework/CString.h"

#include <windows.h>

class CTextMessage
{
public:
    static bool CarriesText(UINT message);

    // The wide message as the window received it.
    CTextMessage(UINT message, WPARAM wParam, LPARAM lParam);
    CTextMessage(const CTextMessage&) = delete;
    CTextMessage& operator=(const CTextMessage&) = delete;

    // The parameters for the handler, with their text in the program's code page.
    WPARAM WParam() const { return m_wParamOut; }
    LPARAM LParam() const { return m_lParamOut; }

    // The handler passed the message on to the default handling, which got it in its wide form
    // and answered the caller itself.
    void AnsweredByDefault() { m_bAnsweredByDefault = true; }

    // The handler's answer as the wide caller expects it.
    LRESULT Answer(LRESULT lResult) const;

private:
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    WPARAM m_wParamOut;
    LPARAM m_lParamOut;
    CString m_strName;  // a text the message brings, or the room for one the handler writes
    CString m_strClass; // the class name of a creation
    CREATESTRUCTA m_create = {};
    bool m_bAnsweredByDefault = false;
};
