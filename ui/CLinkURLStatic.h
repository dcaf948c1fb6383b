// A static text control that acts as a web link: underlined, coloured by its state (idle, under
// the pointer or pressed, visited), with a hand cursor over its text; a left click on the text
// opens the address with the shell and a right click offers to copy it. Only the box the text
// covers is the link, not the whole control.
//
// The static keeps painting itself: it is handed the underlined copy of its font to paint with
// (it selects its own font after asking for colours, so a font chosen there would not last), and
// it fills its box with the background its parent gives statics before it draws, so that a
// recoloured text replaces the old one instead of being drawn over it. A label too short for the
// underline of its font grows downwards to show it. The text's box is measured when the text, the
// font, the size or the style has changed, not on every look at the pointer.
//
// The keyboard reaches a label too: it is a tab stop; while it has the focus it shows a focus
// rectangle around its text (unless its dialog hides keyboard cues); Enter or Space opens it as a
// click does, and the menu key or Shift+F10 offers the copy menu at the text. While the system's
// high-contrast setting is on, the text is drawn in the system's hot-light colour in every state,
// and the label repaints when the system's colours or settings change.
//
// A screen reader asking for the label's object (WM_GETOBJECT) gets a link of its own
// (CLinkAccessible), made on the first request, which loads the accessibility library then; the
// reader is told when the label becomes visited and when its text changes.
#pragma once

#include "framework/CStatic.h"
#include "framework/CString.h"
#include "ui/CUnderlinedFont.h"
#include "ui/LinkColor.h"

class CLinkAccessible;

class CLinkURLStatic : public CStatic
{
    DECLARE_DYNCREATE(CLinkURLStatic)
    // The label's face to assistive technology reads its state and follows it.
    friend class CLinkAccessible;

public:
    CLinkURLStatic();
    ~CLinkURLStatic() override;

    // Whether the client point lies on the box of the window's current text.
    BOOL HitTestText(POINT point) const;
    // The hover timer's step: the colour for where the pointer is now, repainted if it changed.
    void UpdateHoverColor();
    // Makes the underlined copy of the control's font unless it exists already.
    void CreateUnderlineFont();

    // The address that a click opens and the copy command copies: the window text when the
    // label was attached (or, if that was empty, when it is first needed).
    CString m_strURL;
    // Set once an open succeeds; never reset while the object lives.
    BOOL m_bVisited;
    // The colour the text is drawn in now.
    COLORREF m_crText;
    CUnderlinedFont m_fontUnderline;

    static const COLORREF s_crNormal;  // not visited, pointer off the text, not pressed
    static const COLORREF s_crVisited; // visited, whatever else
    static const COLORREF s_crHover;   // not visited, pointer on the text or pressed

    // Every label window runs its own timer under this identifier ("LURL").
    static constexpr UINT_PTR kHoverTimerId = 0x4C55524C;
    static constexpr UINT kHoverTimerPeriod = 50;

protected:
    void PreSubclassWindow() override;

    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnContextMenu(HWND hWnd, POINT point);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    LRESULT OnNcHitTest(POINT point);
    void OnEditCopy();
    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    void OnSetFont(HFONT hFont, BOOL bRedraw);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    UINT OnGetDlgCode(LPMSG pMsg);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(HWND hOldWnd);
    void OnKillFocus(HWND hNewWnd);
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Pressed means holding the mouse capture: whoever takes the capture away ends the press.
    bool IsPressed() const { return ::GetCapture() == m_hWnd; }
    bool IsPointerOnText() const;
    // The box of the window's current text in client coordinates (empty without text), measured
    // again only after the text, the font, the size or the style changed.
    const RECT& TextBox() const;
    void ForgetTextBox() { m_bTextBoxValid = false; }
    // Grows the window when its client area is too short to show the underline.
    void MakeRoomForUnderline();
    // Sends a message to the static's own procedure, past the label's message map.
    LRESULT CallStatic(UINT message, WPARAM wParam, LPARAM lParam);
    // The background the parent gives a plain static, asked past this label's own answer.
    HBRUSH ParentBackgroundBrush(HDC hDC);
    // The colour for the label's state (LinkStateColor with the label's colours).
    COLORREF StateColor(bool bPressed, bool bPointerOnText) const;
    COLORREF PressedColor() const { return StateColor(true, false); }
    void ShowColor(COLORREF crText);
    void StartHoverTimer();
    // Adds WS_TABSTOP to the window's style: the keyboard reaches every label.
    void BecomeTabStop();
    // Fills an empty address from the window text; false when it stays empty.
    bool EnsureURL();
    void OpenURL();
    // Opens the address as Enter does: the colour then follows the pointer as the hover timer
    // has it.
    void FollowLink();
    // Cuts the accessible object, if any, from the label and drops the label's reference to it.
    void ReleaseAccessible();
    // The copy menu at a screen point.
    void ShowContextMenu(POINT ptScreen);
    // The copy menu for the keyboard: at the bottom left corner of the text.
    void ShowKeyboardContextMenu();
    // The focus rectangle around the text, while the label has the focus and its dialog shows
    // keyboard cues.
    void DrawFocusCue(HDC hDC);
    // The colour the text is drawn in: m_crText, or under high contrast the hot-light colour
    // (LinkDrawnColor).
    COLORREF DrawnTextColor() const;

    // The font the control was given (WM_SETFONT), which WM_GETFONT reports; the static itself
    // holds its underlined copy.
    HFONT m_hFontGiven = nullptr;
    mutable RECT m_rcTextBox = {0, 0, 0, 0};
    mutable bool m_bTextBoxValid = false;
    // Set while the parent is asked for a plain static's colours: the label then declines.
    bool m_bAskingParent = false;
    // Whether the dialog last told the label to hide focus cues (WM_UPDATEUISTATE), besides what
    // WM_QUERYUISTATE answers: Wine 8 keeps no such state and answers "show".
    bool m_bHideFocus = false;
    // Made on the first WM_GETOBJECT, held until the window is destroyed.
    CLinkAccessible* m_pAccessible = nullptr;
};

// The hover timer's callback: recolours the label whose window it is, unless the label is pressed.
void CALLBACK HoverTimerProc(HWND hWnd, UINT message, UINT_PTR nIDEvent, DWORD dwTime);
