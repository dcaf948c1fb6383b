// The window wrapper: one C++ object per window, found from its handle through the permanent
// map, receiving the window's messages through its class's message map.
#pragma once

#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/CWideText.h"
#include "framework/MessageMap.h"

#include <windows.h>

class CTextMessage;

class CWnd : public CObject
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to hWnd, or null when the window has none.
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches the object to an existing window and routes its messages through the message map;
    // the window's own procedure becomes the default handling.
    BOOL SubclassWindow(HWND hWnd);
    // Creates a window of a registered class, attached to this object from its first message on.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, HWND hWndParent, UINT nID);
    BOOL DestroyWindow();

    // Handles one message, as the window's Unicode procedure received it: the message map first
    // (a handler gets the message's text in the program's code page, see CTextMessage), then the
    // default handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of a message, given in its wide form: the window's own (superclass)
    // procedure, or DefWindowProcW.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Offered the WM_CTLCOLOR* messages that the parent received for this control.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Thin wrappers over the window functions the program uses.
    CWnd* GetDlgItem(int nID) const;
    // The child window with id nID (::GetDlgItem); a dialog may know its controls without asking.
    virtual HWND GetDlgItemHandle(int nID) const;
    // Shows text in the program's multibyte code page through the W functions (see CWideText).
    void SetWindowText(LPCSTR lpszText);
    void SetDlgItemText(int nID, LPCSTR lpszText);
    // The window's text as its procedure gives it: in the system's ANSI code page.
    void GetWindowText(CString& rText) const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const
    {
        return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
    }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ScreenToClient(POINT* pPoint) const { ::ScreenToClient(m_hWnd, pPoint); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    // Centres the window over its owner, or in the work area of its monitor when it has none.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    // Gives the window a new size and centres it at that size in the same step: one move instead
    // of a resize followed by CenterWindow. Neither activates the window.
    void SizeAndCenterWindow(int cx, int cy, CWnd* pAlternateOwner = nullptr);

    void BeginWaitCursor();
    void EndWaitCursor();

    HWND m_hWnd = nullptr;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Attaches the object to a window that has just been created and makes AfxWndProc its
    // procedure, the window's own becoming the default handling. FALSE when it cannot attach.
    BOOL AttachWindowProc(HWND hWnd);

    // Called before the window is subclassed (from SubclassWindow and DDX_Control).
    virtual void PreSubclassWindow() {}
    // Called after the window is gone and the object detached.
    virtual void PostNcDestroy() {}

    // The default handling of the message being handled now.
    LRESULT Default();

    // Handlers that derived classes name in their maps and that pass on to the default handling.
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    // A top-level window passes these on to its child windows after the default handling.
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);

    // Sends the message, in its wide form, to each direct child window.
    void SendMessageToChildren(UINT message, WPARAM wParam, LPARAM lParam) const;

    WNDPROC m_pfnSuper = nullptr;

private:
    // Where a window of size cx by cy goes to be centred as CenterWindow centres it.
    POINT CenteredTopLeft(int cx, int cy, CWnd* pAlternateOwner) const;
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    bool ReflectCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void OnNcDestroyed();
    void RestoreSuperProcedure();

    MSG m_currentMsg = {};
    // The converted text message that a handler is handling now, if any: its Default() answers
    // the wide caller itself.
    CTextMessage* m_pTextMessage = nullptr;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxHookWindowCreate(CWnd*);
    static LRESULT CALLBACK CreateHookProc(int nCode, WPARAM wParam, LPARAM lParam);
};

// The text that a window holds, read through its procedure in UTF-16 as an outside reader gets it.
CWideText AfxGetWindowTextWide(HWND hWnd);

// The window procedure of every window the framework manages: a Unicode one.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The next window this thread creates is attached to pWnd and subclassed from its first message.
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook if no window was created.
void AfxUnhookWindowCreate();
