#include "ui/CLinkURLStatic.h"

#include "framework/CClientDC.h"
#include "framework/CPaintDC.h"
#include "framework/ClipboardText.h"
#include "framework/ModuleState.h"
#include "framework/ShellOpen.h"
#include "res/resource.h"
#include "ui/CLinkAccessible.h"
#include "ui/LinkColor.h"
#include "ui/LinkHitBox.h"

IMPLEMENT_DYNCREATE(CLinkURLStatic, CStatic)

const COLORREF CLinkURLStatic::s_crNormal = RGB(0, 0, 255);
const COLORREF CLinkURLStatic::s_crVisited = RGB(128, 0, 128);
const COLORREF CLinkURLStatic::s_crHover = RGB(255, 0, 0);

BEGIN_MESSAGE_MAP(CLinkURLStatic, CStatic)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CONTEXTMENU()
ON_WM_SETCURSOR()
ON_WM_NCHITTEST()
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETFONT()
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_WM_SIZE()
ON_WM_STYLECHANGED()
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_SYSKEYDOWN()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUIState)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

CLinkURLStatic::CLinkURLStatic() : m_bVisited(FALSE), m_crText(s_crNormal) {}

CLinkURLStatic::~CLinkURLStatic()
{
    // An object that goes before its window gives the static its own font back before the
    // underlined copy that the static holds is deleted.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && m_fontUnderline.GetSafeHandle() != nullptr &&
        reinterpret_cast<HGDIOBJ>(CallStatic(WM_GETFONT, 0, 0)) == m_fontUnderline.GetSafeHandle())
        CallStatic(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFontGiven), FALSE);
    // Nor may its timer outlive it: the window would go on ticking for nobody.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::KillTimer(m_hWnd, kHoverTimerId);
    // A reader may hold the object longer than the label lives.
    ReleaseAccessible();
}

void CLinkURLStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    GetWindowText(m_strURL);
    // Not yet subclassed: the static itself answers with the font it was given.
    m_hFontGiven = GetFont();
    ForgetTextBox();
    CreateUnderlineFont();
    MakeRoomForUnderline();
    BecomeTabStop();
    StartHoverTimer();
}

int CLinkURLStatic::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    ForgetTextBox();
    // Attached before its window existed, the label starts its timer here; attached by
    // subclassing as well, the second SetTimer only restarts the same timer.
    BecomeTabStop();
    StartHoverTimer();
    return 0;
}

void CLinkURLStatic::OnDestroy()
{
    // Killed before the window goes, so that no tick reaches a destroyed window.
    ::KillTimer(m_hWnd, kHoverTimerId);
    // A reader that holds the object is told "not connected" from now on.
    ReleaseAccessible();
    CStatic::OnDestroy();
}

void CLinkURLStatic::StartHoverTimer()
{
    ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerPeriod, &HoverTimerProc);
}

// The templates give the statics no WS_TABSTOP: the label adds it when it takes the window.
void CLinkURLStatic::BecomeTabStop()
{
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_TABSTOP));
}

BOOL CLinkURLStatic::HitTestText(POINT point) const
{
    return ::PtInRect(&TextBox(), point);
}

const RECT& CLinkURLStatic::TextBox() const
{
    if (m_bTextBoxValid)
        return m_rcTextBox;

    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty())
    {
        // No text, no link anywhere: an empty box holds no point.
        m_rcTextBox = RECT{0, 0, 0, 0};
        m_bTextBoxValid = true;
        return m_rcTextBox;
    }

    SIZE sizeText;
    {
        CClientDC dc(m_hWnd);
        // Before the first paint there is no underlined font yet; the context's own font measures.
        HGDIOBJ hOldFont = nullptr;
        if (m_fontUnderline.GetSafeHandle() != nullptr)
            hOldFont = dc.SelectObject(m_fontUnderline.GetSafeHandle());
        sizeText = MeasureLinkText(strText, &MeasureWithDC, static_cast<HDC>(dc));
        if (hOldFont != nullptr)
            dc.SelectObject(hOldFont);
    }

    RECT rcClient;
    GetClientRect(&rcClient);
    m_rcTextBox = LinkTextBox(rcClient, sizeText, GetStyle());
    m_bTextBoxValid = true;
    return m_rcTextBox;
}

LRESULT CLinkURLStatic::OnSetText(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    ForgetTextBox();
    // The shown text is the link's accessible name.
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
    return lResult;
}

void CLinkURLStatic::OnSize(UINT, int, int)
{
    Default();
    ForgetTextBox();
}

// The alignment and vertical centring are part of the style.
void CLinkURLStatic::OnStyleChanged(int, LPSTYLESTRUCT)
{
    Default();
    ForgetTextBox();
}

void CLinkURLStatic::UpdateHoverColor()
{
    // A visited label needs no hit test: it is purple wherever the pointer is.
    const COLORREF crText = StateColor(false, !m_bVisited && IsPointerOnText());
    if (crText != m_crText)
        ShowColor(crText);
}

bool CLinkURLStatic::IsPointerOnText() const
{
    POINT point = {};
    if (!::GetCursorPos(&point))
        return false;
    ScreenToClient(&point);
    return HitTestText(point) != FALSE;
}

COLORREF CLinkURLStatic::StateColor(bool bPressed, bool bPointerOnText) const
{
    const LinkPalette palette = {s_crNormal, s_crHover, s_crVisited};
    return LinkStateColor(palette, m_bVisited != FALSE, bPressed, bPointerOnText);
}

void CALLBACK HoverTimerProc(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CLinkURLStatic)))
        return;
    // During a press the button handlers own the colour.
    if (::GetCapture() == hWnd)
        return;
    static_cast<CLinkURLStatic*>(pWnd)->UpdateHoverColor();
}

void CLinkURLStatic::ShowColor(COLORREF crText)
{
    m_crText = crText;
    Invalidate(TRUE);
}

void CLinkURLStatic::OnLButtonDown(UINT, POINT point)
{
    if (!HitTestText(point))
        return;
    ::SetCapture(m_hWnd);
    ShowColor(PressedColor());
}

void CLinkURLStatic::OnMouseMove(UINT, POINT)
{
    // While pressed the colour stays the pressed one wherever the pointer goes.
    if (IsPressed() && PressedColor() != m_crText)
        ShowColor(PressedColor());
}

void CLinkURLStatic::OnLButtonUp(UINT, POINT point)
{
    // A press whose capture was taken away is over: its release does nothing.
    if (!IsPressed())
        return;
    ::ReleaseCapture();
    if (HitTestText(point))
    {
        OpenURL();
        ShowColor(StateColor(false, true));
    }
    else
    {
        ShowColor(StateColor(false, false));
    }
}

bool CLinkURLStatic::EnsureURL()
{
    if (m_strURL.IsEmpty())
        GetWindowText(m_strURL);
    return !m_strURL.IsEmpty();
}

void CLinkURLStatic::OpenURL()
{
    if (!EnsureURL())
        return;
    const HINSTANCE hResult = AfxShellOpen(m_strURL);
    // The shell answers a number above 32 for success and an error code up to 32 otherwise.
    if (reinterpret_cast<UINT_PTR>(hResult) <= 32 || m_bVisited)
        return;
    m_bVisited = TRUE;
    // A reader announces the link as visited (traversed) from now on.
    ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

void CLinkURLStatic::FollowLink()
{
    OpenURL();
    UpdateHoverColor();
}

// The client area's object only: the window's frame and the other objects stay the system's.
LRESULT CLinkURLStatic::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return Default();
    if (m_pAccessible == nullptr)
        m_pAccessible = new CLinkAccessible(*this);
    const LRESULT lResult = m_pAccessible->Answer(wParam);
    return lResult != 0 ? lResult : Default();
}

void CLinkURLStatic::ReleaseAccessible()
{
    CAccessibleWindow::DisconnectAndRelease(m_pAccessible);
}

void CLinkURLStatic::OnContextMenu(HWND, POINT point)
{
    // (-1, -1): the menu key or Shift+F10 through the default handling.
    if (point.x == -1 && point.y == -1)
    {
        ShowKeyboardContextMenu();
        return;
    }
    POINT ptClient = point;
    ScreenToClient(&ptClient);
    if (HitTestText(ptClient))
        ShowContextMenu(point);
}

void CLinkURLStatic::ShowKeyboardContextMenu()
{
    const RECT& rcText = TextBox();
    if (::IsRectEmpty(&rcText))
        return; // no text, no link
    POINT ptScreen = {rcText.left, rcText.bottom};
    ::ClientToScreen(m_hWnd, &ptScreen);
    ShowContextMenu(ptScreen);
}

void CLinkURLStatic::ShowContextMenu(POINT point)
{
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_LINK_CONTEXT_MENU));
    if (hMenu == nullptr)
        return;
    // The chosen command is sent to the label itself: its copy entry handles it.
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    if (hPopup != nullptr)
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(hMenu);
}

BOOL CLinkURLStatic::OnSetCursor(HWND, UINT, UINT)
{
    // The pointer's position, not the hit-test code: only the text's box shows the hand.
    HCURSOR hCursor = IsPointerOnText()
                          ? ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINK_HAND))
                          : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    ::SetCursor(hCursor);
    return TRUE;
}

LRESULT CLinkURLStatic::OnNcHitTest(POINT)
{
    // A static without SS_NOTIFY lets the mouse through to its parent; the label takes it.
    return HTCLIENT;
}

// Puts the address on the clipboard as plain text, replacing everything there; silent on failure.
// The label's window owns the clipboard afterwards.
void CLinkURLStatic::OnEditCopy()
{
    if (EnsureURL())
        AfxSetClipboardText(m_hWnd, m_strURL);
}

void CLinkURLStatic::CreateUnderlineFont()
{
    if (m_fontUnderline.GetSafeHandle() != nullptr)
        return;
    // A control that reports no font draws with the system font: its underlined copy keeps the
    // look of the text and still shows it as a link. On failure the next paint tries again.
    if (!m_fontUnderline.CreateCopyOf(GetFont()))
        return;
    // From now on the text is measured in the copy.
    ForgetTextBox();
    // The static selects its own font after it has asked for colours: it paints underlined only
    // when the copy is its own font. Statics of the other types are painted plain.
    if (m_hWnd != nullptr && (GetStyle() & SS_TYPEMASK) <= SS_RIGHT)
        CallStatic(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontUnderline.GetSafeHandle()), FALSE);
}

// A static one line high clips away an underline drawn below the character cell. Such a label
// grows downwards, as a static grows to its icon, until the underline shows; the text and its box
// stay where they are.
void CLinkURLStatic::MakeRoomForUnderline()
{
    if ((GetStyle() & SS_TYPEMASK) > SS_RIGHT)
        return;
    LONG cyNeeded = 0;
    {
        CClientDC dc(m_hWnd);
        cyNeeded = m_fontUnderline.HeightWithUnderline(dc);
    }
    RECT rcClient;
    GetClientRect(&rcClient);
    if (cyNeeded == 0 || rcClient.bottom >= cyNeeded)
        return;
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left,
                   rcWindow.bottom - rcWindow.top + cyNeeded - rcClient.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ForgetTextBox();
}

LRESULT CLinkURLStatic::CallStatic(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Before subclassing is complete the window's procedure is still the static's own.
    if (m_pfnSuper == nullptr)
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

void CLinkURLStatic::OnSetFont(HFONT hFont, BOOL bRedraw)
{
    // The static takes the new font first, so that it no longer holds the old copy when that is
    // deleted; it is redrawn, if asked, once it holds the new copy.
    CallStatic(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    m_hFontGiven = hFont;
    m_fontUnderline.DeleteObject();
    ForgetTextBox();
    CreateUnderlineFont();
    MakeRoomForUnderline();
    if (bRedraw)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The static holds the underlined copy to paint with; whoever asks for the font is told the one
// the control was given.
LRESULT CLinkURLStatic::OnGetFont(WPARAM, LPARAM)
{
    const LRESULT lFont = Default();
    if (lFont != 0 && reinterpret_cast<HGDIOBJ>(lFont) == m_fontUnderline.GetSafeHandle())
        return reinterpret_cast<LRESULT>(m_hFontGiven);
    return lFont;
}

HBRUSH CLinkURLStatic::CtlColor(HDC hDC, UINT)
{
    // Icons, frames and the other non-text types are painted as plain statics; so is the label
    // while it asks its parent what a plain static gets.
    if (m_bAskingParent || (GetStyle() & SS_TYPEMASK) > SS_RIGHT)
        return nullptr;
    CreateUnderlineFont();
    // The static's painting owns the context: the font replaced here is not put back.
    if (m_fontUnderline.GetSafeHandle() != nullptr)
        ::SelectObject(hDC, m_fontUnderline.GetSafeHandle());
    // The static fills its box with this brush before it draws the text: the old text goes, and
    // the label shows the same background as the statics around it.
    HBRUSH hBrush = ParentBackgroundBrush(hDC);
    ::SetTextColor(hDC, DrawnTextColor());
    ::SetBkMode(hDC, TRANSPARENT);
    return hBrush;
}

HBRUSH CLinkURLStatic::ParentBackgroundBrush(HDC hDC)
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent == nullptr)
        return ::GetSysColorBrush(COLOR_3DFACE);
    m_bAskingParent = true;
    auto hBrush = reinterpret_cast<HBRUSH>(::SendMessageA(hParent, WM_CTLCOLORSTATIC,
                                                          reinterpret_cast<WPARAM>(hDC),
                                                          reinterpret_cast<LPARAM>(m_hWnd)));
    m_bAskingParent = false;
    // A parent that answers no brush leaves the colours to the system, as for any static.
    if (hBrush == nullptr)
        hBrush = reinterpret_cast<HBRUSH>(::DefWindowProcW(hParent, WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(hDC),
                                                           reinterpret_cast<LPARAM>(m_hWnd)));
    return hBrush;
}

COLORREF CLinkURLStatic::DrawnTextColor() const
{
    HIGHCONTRASTW highContrast = {};
    highContrast.cbSize = sizeof(highContrast);
    const bool bHighContrast =
        ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(highContrast), &highContrast, 0) &&
        (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return LinkDrawnColor(m_crText, bHighContrast, ::GetSysColor(COLOR_HOTLIGHT));
}

void CLinkURLStatic::OnSysColorChange()
{
    Default();
    Invalidate(TRUE);
}

void CLinkURLStatic::OnSettingChange(UINT, LPCSTR)
{
    Default();
    Invalidate(TRUE); // high contrast may have been switched on or off
}

// The dialog manager takes the Enter key for the default button unless the focused control asks
// for it: the label does, so that Enter opens the link instead of pressing OK. Tab, the arrows
// and Esc stay with the dialog.
UINT CLinkURLStatic::OnGetDlgCode(LPMSG pMsg)
{
    UINT nCode = static_cast<UINT>(Default());
    if (pMsg != nullptr && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        nCode |= DLGC_WANTMESSAGE;
    return nCode;
}

void CLinkURLStatic::OnKeyDown(UINT nChar, UINT, UINT)
{
    switch (nChar)
    {
        case VK_RETURN:
        case VK_SPACE:
            // As a click on the text opens it.
            FollowLink();
            return;
        case VK_APPS:
            ShowKeyboardContextMenu();
            return;
        default:
            break;
    }
    Default();
}

// The menu key's release is swallowed as its press was: the default handling must not offer the
// menu a second time.
void CLinkURLStatic::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (nChar != VK_APPS)
        Default();
}

// F10 comes as a system key.
void CLinkURLStatic::OnSysKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_F10 && ::GetKeyState(VK_SHIFT) < 0)
    {
        ShowKeyboardContextMenu();
        return;
    }
    Default();
}

void CLinkURLStatic::OnSetFocus(HWND)
{
    Default();
    Invalidate(TRUE);
}

void CLinkURLStatic::OnKillFocus(HWND)
{
    Default();
    Invalidate(TRUE);
}

// A dialog that starts hiding or showing keyboard cues tells its controls.
LRESULT CLinkURLStatic::OnUpdateUIState(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) & UISF_HIDEFOCUS)
    {
        if (LOWORD(wParam) == UIS_SET)
            m_bHideFocus = true;
        else if (LOWORD(wParam) == UIS_CLEAR)
            m_bHideFocus = false;
    }
    const LRESULT lResult = Default();
    if (::GetFocus() == m_hWnd)
        Invalidate(TRUE);
    return lResult;
}

// The static paints itself into the paint context, then the focus rectangle goes over it.
void CLinkURLStatic::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CallStatic(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
    DrawFocusCue(dc);
}

LRESULT CLinkURLStatic::OnPrintClient(WPARAM wParam, LPARAM)
{
    const LRESULT lResult = Default();
    DrawFocusCue(reinterpret_cast<HDC>(wParam));
    return lResult;
}

void CLinkURLStatic::DrawFocusCue(HDC hDC)
{
    if (hDC == nullptr || ::GetFocus() != m_hWnd || m_bHideFocus ||
        (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0)
        return;
    RECT rcFocus = TextBox();
    if (::IsRectEmpty(&rcFocus))
        return;
    // One pixel outside the text, as far as the window reaches.
    ::InflateRect(&rcFocus, 1, 1);
    RECT rcClient;
    GetClientRect(&rcClient);
    ::IntersectRect(&rcFocus, &rcFocus, &rcClient);
    ::DrawFocusRect(hDC, &rcFocus);
}
