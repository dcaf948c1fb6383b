// The hyperlink label on real static controls of the version dialog's template, created modeless
// under Wine and driven with real mouse messages: presses, drags, releases, the hover timer, the
// cursor, the context menu and its copy command, painting colours and the shell open (the http
// scheme goes to a recorder, never to a browser).
#include "framework/CWnd.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "ui/CLinkURLStatic.h"
#include "ui/link/LinkTestSupport.h"
#include "ui/link/VersionDialogWindow.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
const COLORREF kNormal = RGB(0, 0, 255);
const COLORREF kVisited = RGB(128, 0, 128);
const COLORREF kHover = RGB(255, 0, 0);

LOGFONTA FontDescription(HGDIOBJ hFont)
{
    LOGFONTA lf = {};
    GetObjectA(hFont, sizeof(lf), &lf);
    return lf;
}

// Dialog 100 from the program's resources, modeless, on screen at (200, 200), with a framework
// object on it so that colour requests reach the labels. The pointer rests far from it.
class LinkLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hDlg = m_window.Handle();
        ASSERT_NE(m_hDlg, nullptr);
        m_window.ShowAt(200, 200);
        ParkPointer();
        FlushEvents();
    }
    void TearDown() override
    {
        m_window.Destroy();
        if (GetCapture() != nullptr)
            ReleaseCapture();
        FlushEvents();
    }

    // Gives control nID the text, then attaches the label to it.
    void Attach(CLinkURLStatic& label, int nID, const char* text)
    {
        ASSERT_TRUE(m_window.Attach(label, nID, text));
    }

    static POINT OnText() { return {2, 2}; }
    // The size of the control's text in its font, measured in one piece.
    static SIZE TextExtent(HWND hLabel, HGDIOBJ hFont = nullptr)
    {
        return TextExtentOf(hLabel, hFont);
    }
    // A point of the label's first line well to the right of its text.
    static POINT OffText(HWND hLabel)
    {
        RECT rc;
        GetClientRect(hLabel, &rc);
        EXPECT_LT(TextExtent(hLabel).cx + 10, rc.right) << "the text must leave room to its right";
        return {rc.right - 3, 2};
    }

    static void Send(HWND hLabel, UINT message, POINT pt, WPARAM keys = 0)
    {
        SendMessageA(hLabel, message, keys, MAKELPARAM(pt.x, pt.y));
    }
    static void Press(HWND hLabel, POINT pt) { Send(hLabel, WM_LBUTTONDOWN, pt, MK_LBUTTON); }
    static void Drag(HWND hLabel, POINT pt) { Send(hLabel, WM_MOUSEMOVE, pt, MK_LBUTTON); }
    static void Release(HWND hLabel, POINT pt) { Send(hLabel, WM_LBUTTONUP, pt); }
    static void Click(HWND hLabel, POINT pt)
    {
        Press(hLabel, pt);
        Release(hLabel, pt);
    }

    static void ParkPointer() { SetCursorPos(5, 5); }
    static POINT ScreenPoint(HWND hLabel, POINT client)
    {
        ClientToScreen(hLabel, &client);
        return client;
    }
    static void PointAt(HWND hLabel, POINT client)
    {
        const POINT screen = ScreenPoint(hLabel, client);
        SetCursorPos(screen.x, screen.y);
    }
    // Pumps until the label's hover timer has ticked once here, however late that comes. The tick
    // reads the pointer and the press as they are now, so afterwards the colour is what the timer
    // makes of them, and a colour that did not change was left alone by a tick that did run.
    static void LetTheTimerTick(HWND hLabel)
    {
        EXPECT_TRUE(PumpUntilHandled(1, TimerTickOf(hLabel, CLinkURLStatic::kHoverTimerId)))
            << "the hover timer did not tick within " << kHangMs << " ms";
    }

    VersionDialogWindow m_window;
    HWND m_hDlg = nullptr;
};

TEST_F(LinkLabelTest, AClickOnTheTextOpensTheAddressTakenAtAttachingAndTurnsItPurpleForGood)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://attached.example/");
    EXPECT_EQ(std::string(label.m_strURL), "http://attached.example/");
    label.SetWindowText("http://shown.example/"); // shown and measured, not opened

    Press(label, OnText());
    EXPECT_EQ(GetCapture(), label.m_hWnd);
    EXPECT_EQ(label.m_crText, kHover);
    Release(label, OnText());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(label.m_bVisited);
    EXPECT_EQ(label.m_crText, kVisited);
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{"http://attached.example/"});

    // Visited is for good: purple while pressed, dragged, released off the text, and hovered.
    Press(label, OnText());
    EXPECT_EQ(label.m_crText, kVisited);
    Drag(label, OffText(label));
    EXPECT_EQ(label.m_crText, kVisited);
    Release(label, OffText(label));
    EXPECT_EQ(label.m_crText, kVisited);
    PointAt(label, OnText());
    LetTheTimerTick(label);
    EXPECT_EQ(label.m_crText, kVisited);
    EXPECT_EQ(recorder.OpenedUpToMarker(), std::vector<std::string>{"http://attached.example/"})
        << "released off the text: no second open";
}

TEST_F(LinkLabelTest, TheSecondClickOfADoubleClickOpensNothing)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://double.example/");
    Click(label, OnText());
    Send(label, WM_LBUTTONDBLCLK, OnText(), MK_LBUTTON);
    Release(label, OnText());
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{"http://double.example/"});
}

TEST_F(LinkLabelTest, PressOnTheTextDragOffAndReleaseOpensNothing)
{
    ShellOpenRecorder recorder;
    struct Case
    {
        const char* name;
        int nID;
        BOOL visited;
        COLORREF pressed;
        COLORREF released;
    };
    const Case cases[] = {
        {"not visited", IDC_LINK_HOMEPAGE, FALSE, kHover, kNormal},
        {"visited", IDC_LINK_COMMUNITY, TRUE, kVisited, kVisited},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CLinkURLStatic label;
        Attach(label, c.nID, "http://drag.example/");
        label.m_bVisited = c.visited;

        Press(label, OnText());
        EXPECT_EQ(label.m_crText, c.pressed);
        Drag(label, OffText(label));
        EXPECT_EQ(label.m_crText, c.pressed) << "the colour does not follow the pointer";
        LetTheTimerTick(
            label); // the pointer rests off the text; the timer leaves a pressed label alone
        EXPECT_EQ(label.m_crText, c.pressed);
        Drag(label, OnText());
        Drag(label, OffText(label));
        Release(label, OffText(label));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(label.m_crText, c.released);
        EXPECT_EQ(label.m_bVisited, c.visited);
    }
    EXPECT_TRUE(recorder.OpenedUpToMarker().empty());
}

TEST_F(LinkLabelTest, PressOffTheTextAndReleaseOnItChangesNothing)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://off.example/");
    Press(label, OffText(label));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(label.m_crText, kNormal);
    Drag(label, OnText());
    Release(label, OnText());
    EXPECT_EQ(label.m_crText, kNormal) << "the next tick, not the release, sets the hover colour";
    EXPECT_FALSE(label.m_bVisited);
    EXPECT_TRUE(recorder.OpenedUpToMarker().empty());
}

TEST_F(LinkLabelTest, ACaptureTakenAwayDuringAPressEndsItAndTheReleaseDoesNothing)
{
    ShellOpenRecorder recorder;
    struct Case
    {
        const char* name;
        int nID;
        bool toAnotherWindow;
    };
    const Case cases[] = {
        {"another window captures", IDC_LINK_HOMEPAGE, true},
        {"the capture is released", IDC_LINK_COMMUNITY, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CLinkURLStatic label;
        Attach(label, c.nID, "http://capture.example/");
        Press(label, OnText());
        ASSERT_EQ(GetCapture(), label.m_hWnd);
        if (c.toAnotherWindow)
            SetCapture(GetDlgItem(m_hDlg, IDOK));
        else
            ReleaseCapture();
        Release(label, OnText());
        EXPECT_EQ(label.m_crText, kHover) << "the release changes nothing";
        EXPECT_FALSE(label.m_bVisited);
        ReleaseCapture();
        LetTheTimerTick(label); // no longer pressed: the timer recomputes, and the pointer is away
        EXPECT_EQ(label.m_crText, kNormal);
    }
    EXPECT_TRUE(recorder.OpenedUpToMarker().empty());
}

TEST_F(LinkLabelTest, AFailedOpenLeavesTheLabelUnvisitedAndRed)
{
    ShellOpenRecorder recorder;
    {
        SCOPED_TRACE("a scheme that nothing handles");
        CLinkURLStatic label;
        Attach(label, IDC_LINK_COMMUNITY, "zzz://x/");
        Click(label, OnText());
        EXPECT_FALSE(label.m_bVisited);
        EXPECT_EQ(label.m_crText, kHover);
    }
    {
        SCOPED_TRACE("a handler whose program is missing, then the recorder");
        CLinkURLStatic label;
        Attach(label, IDC_LINK_HOMEPAGE, "http://retry.example/");
        recorder.UseMissingProgram();
        Click(label, OnText());
        EXPECT_FALSE(label.m_bVisited);
        EXPECT_EQ(label.m_crText, kHover);
        recorder.UseRecorder();
        Click(label, OnText());
        EXPECT_TRUE(label.m_bVisited);
        EXPECT_EQ(label.m_crText, kVisited);
    }
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{"http://retry.example/"});
}

TEST_F(LinkLabelTest, ALabelWithoutTextIsNoLinkUntilItGetsSome)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "");
    EXPECT_TRUE(label.m_strURL.IsEmpty());
    for (const POINT pt : {POINT{0, 0}, POINT{2, 2}})
        EXPECT_FALSE(label.HitTestText(pt));
    Press(label, OnText());
    EXPECT_EQ(GetCapture(), nullptr);
    Release(label, OnText());
    EXPECT_TRUE(recorder.OpenedUpToMarker().empty());

    // The address is taken from the text when a click first needs it.
    label.SetWindowText("http://late.example/");
    Click(label, OnText());
    EXPECT_EQ(std::string(label.m_strURL), "http://late.example/");
    EXPECT_EQ(recorder.Opened(), std::vector<std::string>{"http://late.example/"});
}

TEST_F(LinkLabelTest, TheHitBoxIsTheTextsFirstLineFromTheLeftEdge)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://box.example/");
    // Taller than one line, so that the box's bottom edge shows too.
    SetWindowPos(label, nullptr, 0, 0, 300, 40, SWP_NOMOVE | SWP_NOZORDER);
    label.CreateUnderlineFont();

    HDC hdc = GetDC(label);
    HGDIOBJ hOld = SelectObject(hdc, label.m_fontUnderline.GetSafeHandle());
    SIZE text = {};
    GetTextExtentPoint32A(hdc, "http://box.example/", lstrlenA("http://box.example/"), &text);
    SelectObject(hdc, hOld);
    ReleaseDC(label, hdc);
    ASSERT_GT(text.cx, 20);
    ASSERT_LT(text.cy, 40);

    EXPECT_TRUE(label.HitTestText({0, 0}));
    EXPECT_TRUE(label.HitTestText({text.cx - 1, text.cy - 1}));
    EXPECT_FALSE(label.HitTestText({text.cx, 0}));
    EXPECT_FALSE(label.HitTestText({0, text.cy}));
    EXPECT_FALSE(label.HitTestText({-1, 0}));

    // The shown text, not the address, decides the box.
    label.SetWindowText("http://a-much-longer-shown-address.example/");
    EXPECT_TRUE(label.HitTestText({text.cx + 5, 0}));
}

// The box is kept between looks at the pointer; whatever changes it (text, font, size, alignment)
// shows in the very next hit test, with no message handled in between.
TEST_F(LinkLabelTest, TheHitBoxFollowsEachChangeOfTextFontSizeAndAlignmentAtOnce)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://box.example/");
    SetWindowPos(label, nullptr, 0, 0, 400, 60, SWP_NOMOVE | SWP_NOZORDER);
    label.CreateUnderlineFont();
    const auto expectBox = [&label](const char* step)
    {
        SCOPED_TRACE(step);
        RECT rc;
        GetClientRect(label, &rc);
        const SIZE text = TextExtent(label, label.m_fontUnderline.GetSafeHandle());
        ASSERT_LT(text.cx, rc.right);
        ASSERT_LT(text.cy, rc.bottom);
        const bool centred = (label.GetStyle() & SS_TYPEMASK) == SS_CENTER;
        const LONG left = centred ? (rc.right - text.cx) / 2 : 0;
        EXPECT_TRUE(label.HitTestText({left, 0}));
        EXPECT_TRUE(label.HitTestText({left + text.cx - 1, text.cy - 1}));
        EXPECT_FALSE(label.HitTestText({left + text.cx, 0}));
        EXPECT_FALSE(label.HitTestText({left - 1, 0}));
        EXPECT_FALSE(label.HitTestText({left, text.cy}));
    };
    expectBox("as attached");
    label.SetWindowText("http://a-much-longer-shown-address.example/");
    expectBox("a longer text");
    label.SetWindowText("http://b.example/");
    expectBox("a shorter text");

    LOGFONTA lf = {};
    lf.lfHeight = -23;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    HFONT hBig = CreateFontIndirectA(&lf);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(hBig), FALSE);
    expectBox("a bigger font");
    SetWindowLongA(label, GWL_STYLE,
                   static_cast<LONG>((label.GetStyle() & ~SS_TYPEMASK) | SS_CENTER));
    expectBox("centred");
    SetWindowPos(label, nullptr, 0, 0, 300, 60, SWP_NOMOVE | SWP_NOZORDER);
    expectBox("a narrower window");

    label.DestroyWindow();
    DeleteObject(hBig);
}

// The label's own walk with IsDBCSLeadByte, under a Korean user (code page 949): each Hangul
// syllable's lead and trail bytes are measured as one character.
TEST_F(LinkLabelTest, KoreanTextIsMeasuredOneSyllableAtATime)
{
    if (GetACP() != 949)
        GTEST_SKIP() << "needs LC_ALL=ko_KR.UTF-8 (ANSI code page " << GetACP() << ")";
    const std::string text = InCodePage("링크 주소 바로가기", 949);
    ASSERT_EQ(text.size(), 2u * 8 + 2);
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, text.c_str());
    SetWindowPos(label, nullptr, 0, 0, 400, 20, SWP_NOMOVE | SWP_NOZORDER);
    label.CreateUnderlineFont();
    const SIZE whole = TextExtent(label, label.m_fontUnderline.GetSafeHandle());

    // What a walk byte by byte would sum to; the text must tell the two apart.
    HDC hdc = GetDC(label);
    HGDIOBJ hOld = SelectObject(hdc, label.m_fontUnderline.GetSafeHandle());
    LONG bytewise = 0;
    for (char ch : text)
    {
        SIZE size = {};
        GetTextExtentPoint32A(hdc, &ch, 1, &size);
        bytewise += size.cx;
    }
    SelectObject(hdc, hOld);
    ReleaseDC(label, hdc);
    ASSERT_GT(whole.cx, 40);
    ASSERT_NE(bytewise, whole.cx) << "this text cannot tell pairs from single bytes";

    EXPECT_TRUE(label.HitTestText({whole.cx - 1, 0}));
    EXPECT_FALSE(label.HitTestText({whole.cx, 0}));
}

TEST_F(LinkLabelTest, TheCursorIsTheHandOnlyOverTheText)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://cursor.example/");
    HCURSOR hHand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    HCURSOR hArrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    ASSERT_NE(hHand, nullptr);
    ASSERT_NE(hHand, hArrow);

    struct Case
    {
        const char* name;
        POINT where;
        HCURSOR expected;
    };
    const Case cases[] = {{"on the text", OnText(), hHand},
                          {"right of the text", OffText(label), hArrow},
                          {"on the text again", {5, 3}, hHand}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PointAt(label, c.where);
        SetCursor(nullptr);
        // The hit-test code in the message is not what decides: the pointer's position is.
        EXPECT_EQ(SendMessageA(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                               MAKELPARAM(HTNOWHERE, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(GetCursor(), c.expected);
    }
}

// Real input, not sent messages: the statics of the template have no SS_NOTIFY, so the mouse
// reaches the label only because it answers HTCLIENT to the hit test.
TEST_F(LinkLabelTest, RealMouseClicksReachTheLabelAndADoubleClickOpensOnce)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://input.example/");
    EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, MAKELPARAM(1, 1)), HTCLIENT);

    PointAt(label, OnText());
    FlushEvents();
    INPUT clicks[4] = {};
    for (INPUT& input : clicks)
        input.type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = clicks[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = clicks[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
    // Down, up, double-click, up: all four handled before the opens are counted.
    const HWND hLabel = label;
    EXPECT_TRUE(PumpUntilHandled(4,
                                 [hLabel](const MSG& msg)
                                 {
                                     return msg.hwnd == hLabel && (msg.message == WM_LBUTTONDOWN ||
                                                                   msg.message == WM_LBUTTONUP ||
                                                                   msg.message == WM_LBUTTONDBLCLK);
                                 }))
        << "the clicks did not arrive within " << kHangMs << " ms";
    EXPECT_TRUE(label.m_bVisited);
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{"http://input.example/"});
}

TEST_F(LinkLabelTest, TheHoverTimerFollowsThePointerUnlessTheLabelIsPressed)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://hover.example/");
    struct Case
    {
        const char* name;
        POINT where;
        BOOL visited;
        COLORREF expected;
    };
    const Case cases[] = {
        {"on the text", OnText(), FALSE, kHover},
        {"right of the text", OffText(label), FALSE, kNormal},
        {"back on the text", {6, 4}, FALSE, kHover},
        {"visited, on the text", OnText(), TRUE, kVisited},
        {"visited, off the text", OffText(label), TRUE, kVisited},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        label.m_bVisited = c.visited;
        PointAt(label, c.where);
        LetTheTimerTick(label);
        EXPECT_EQ(label.m_crText, c.expected);
    }

    label.m_bVisited = FALSE;
    Press(label, OnText());
    PointAt(label, OffText(label));
    LetTheTimerTick(label);
    EXPECT_EQ(label.m_crText, kHover) << "pressed: the timer leaves the colour alone";
    ReleaseCapture();
    LetTheTimerTick(label);
    EXPECT_EQ(label.m_crText, kNormal);
}

// A window whose object is a plain static must not be taken for a label: the guard bytes after
// the object would be overwritten if the timer wrote a label's colour into it.
TEST_F(LinkLabelTest, TheHoverTimerLeavesWindowsThatAreNoLabelsAlone)
{
    struct GuardedStatic
    {
        CStatic wnd;
        unsigned char guard[64];
    };
    auto* pGuarded = new GuardedStatic;
    memset(pGuarded->guard, 0xBD, sizeof(pGuarded->guard));
    SetDlgItemTextA(m_hDlg, IDC_LINK_COMMUNITY, "http://plain.example/");
    ASSERT_TRUE(pGuarded->wnd.SubclassWindow(GetDlgItem(m_hDlg, IDC_LINK_COMMUNITY)));
    PointAt(pGuarded->wnd, OnText());

    HoverTimerProc(pGuarded->wnd, WM_TIMER, CLinkURLStatic::kHoverTimerId, 0);
    HoverTimerProc(GetDlgItem(m_hDlg, IDOK), WM_TIMER, CLinkURLStatic::kHoverTimerId, 0);
    HoverTimerProc(nullptr, WM_TIMER, CLinkURLStatic::kHoverTimerId, 0);
    SetTimer(pGuarded->wnd, CLinkURLStatic::kHoverTimerId, 10, &HoverTimerProc);
    LetTheTimerTick(pGuarded->wnd);

    for (unsigned char b : pGuarded->guard)
        ASSERT_EQ(b, 0xBD);
    pGuarded->wnd.DestroyWindow();
    delete pGuarded;
}

TEST_F(LinkLabelTest, ALabelThatCreatesItsOwnWindowWorksAsAnAttachedOne)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    ASSERT_TRUE(label.CreateEx(0, "STATIC", "http://own.example/", WS_CHILD | WS_VISIBLE | SS_LEFT,
                               RECT{10, 100, 400, 120}, m_hDlg, 2000));
    SendMessageA(label, WM_SETFONT, SendMessageA(m_hDlg, WM_GETFONT, 0, 0), FALSE);
    PointAt(label, OnText());
    LetTheTimerTick(label);
    EXPECT_EQ(label.m_crText, kHover) << "its hover timer runs";
    ParkPointer();
    Click(label, OnText());
    EXPECT_TRUE(label.m_bVisited);
    EXPECT_EQ(recorder.Opened(), std::vector<std::string>{"http://own.example/"});
}

// Whether KillTimer still finds the hover timer once the label's own WM_DESTROY handling is over
// (the window still exists then): it must not, the label stops its timer first.
HWND s_watched = nullptr;
int s_killResult = -1;

LRESULT CALLBACK KillTimerAfterDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && p->message == WM_DESTROY && p->hwnd == s_watched)
        s_killResult = KillTimer(p->hwnd, CLinkURLStatic::kHoverTimerId);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(LinkLabelTest, DestroyingTheLabelStopsItsTimerBeforeTheWindowGoes)
{
    HHOOK hHook =
        SetWindowsHookExA(WH_CALLWNDPROCRET, &KillTimerAfterDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);

    {
        SCOPED_TRACE("a plain static with the same timer shows what the hook sees");
        HWND hPlain = GetDlgItem(m_hDlg, IDC_LINK_COMMUNITY);
        SetTimer(hPlain, CLinkURLStatic::kHoverTimerId, 50, nullptr);
        s_watched = hPlain;
        DestroyWindow(hPlain);
        EXPECT_EQ(s_killResult, TRUE);
    }
    {
        SCOPED_TRACE("a label");
        CLinkURLStatic label;
        Attach(label, IDC_LINK_HOMEPAGE, "http://destroy.example/");
        HWND hLabel = label.m_hWnd;
        s_watched = hLabel;
        s_killResult = -1;
        DestroyWindow(hLabel);
        EXPECT_EQ(s_killResult, FALSE);
        EXPECT_EQ(label.m_hWnd, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(hLabel), nullptr);
    }
    UnhookWindowsHookEx(hHook);
}

class LinkClipboardTest : public LinkLabelTest
{
protected:
    void SetUp() override
    {
        LinkLabelTest::SetUp();
        ClipboardAccess clipboard;
        ASSERT_TRUE(clipboard.IsOpen());
        clipboard.Fill("before", ClipboardAccess::PrivateFormat());
    }

    static void ExpectClipboardUntouched()
    {
        ClipboardAccess clipboard;
        ASSERT_TRUE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.Text(), "before");
        EXPECT_TRUE(clipboard.Has(ClipboardAccess::PrivateFormat()));
    }
    static void ExpectClipboardHoldsOnly(const std::string& text)
    {
        ClipboardAccess clipboard;
        ASSERT_TRUE(clipboard.IsOpen());
        EXPECT_EQ(clipboard.Text(), text);
        EXPECT_FALSE(clipboard.Has(ClipboardAccess::PrivateFormat()))
            << "the copy replaces everything";
    }
};

TEST_F(LinkClipboardTest, TheCopyCommandPutsTheAddressTakenAtAttachingOnTheClipboard)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://copied.example/");
    label.SetWindowText("http://shown.example/");
    SendMessageA(label, WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_EQ(GetClipboardOwner(), label.m_hWnd) << "the label's window owns what it copied";
    ExpectClipboardHoldsOnly("http://copied.example/");
}

TEST_F(LinkClipboardTest, ARightClickOnTheTextOffersTheCopyMenuAtThePointer)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://menu.example/");
    const POINT screen = ScreenPoint(label, {4, 3});
    {
        PopupMenuWatcher menus(true);
        SendMessageA(label, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label.m_hWnd),
                     MAKELPARAM(screen.x, screen.y));
        FlushEvents(); // the chosen command is posted to the label
        ASSERT_EQ(menus.Shown().size(), 1u);
        const auto& seen = menus.Shown()[0];
        EXPECT_EQ(seen.nItems, 1);
        EXPECT_EQ(seen.firstId, static_cast<UINT>(ID_EDIT_COPY));
        EXPECT_EQ(seen.rect.left, screen.x) << "left-aligned at the pointer";
        EXPECT_EQ(seen.rect.top, screen.y) << "top-aligned at the pointer";
        EXPECT_FALSE(IsMenu(seen.hMenu)) << "the loaded menu is destroyed afterwards";
    }
    ExpectClipboardHoldsOnly("http://menu.example/");
}

TEST_F(LinkClipboardTest, ARightClickOffTheTextShowsNoMenu)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://nomenu.example/");
    PopupMenuWatcher menus(true);
    const POINT screen = ScreenPoint(label, OffText(label));
    SendMessageA(label, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label.m_hWnd),
                 MAKELPARAM(screen.x, screen.y));
    FlushEvents();
    EXPECT_EQ(menus.Created(), 0);
    ExpectClipboardUntouched();
}

// Holds the clipboard open on its own thread from `opened` until `done`, as another program would.
struct ClipboardHolder
{
    HANDLE opened;
    HANDLE done;

    // Opened for a window: Wine lets a second OpenClipboard(nullptr) through while the first
    // was made with no window too, whatever thread made it.
    static DWORD WINAPI Run(void* p)
    {
        auto* self = static_cast<ClipboardHolder*>(p);
        HWND hOwner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        const BOOL bOpened = hOwner != nullptr && OpenClipboard(hOwner);
        SetEvent(self->opened);
        WaitForSingleObject(self->done, 5000);
        if (bOpened)
            CloseClipboard();
        DestroyWindow(hOwner);
        return bOpened ? 0 : 1;
    }
};

TEST_F(LinkClipboardTest, CopyingNothingOrWhileAnotherThreadHoldsTheClipboardLeavesItAlone)
{
    {
        SCOPED_TRACE("no text, so no address");
        CLinkURLStatic label;
        Attach(label, IDC_LINK_HOMEPAGE, "");
        SendMessageA(label, WM_COMMAND, ID_EDIT_COPY, 0);
        ExpectClipboardUntouched();
    }
    {
        SCOPED_TRACE("the clipboard is held elsewhere");
        CLinkURLStatic label;
        Attach(label, IDC_LINK_COMMUNITY, "http://held.example/");
        HANDLE hOpened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE hDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ClipboardHolder holder = {hOpened, hDone};
        HANDLE hThread = CreateThread(nullptr, 0, &ClipboardHolder::Run, &holder, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(hOpened, 5000), WAIT_OBJECT_0);
        SendMessageA(label, WM_COMMAND, ID_EDIT_COPY, 0);
        SetEvent(hDone);
        WaitForSingleObject(hThread, 5000);
        DWORD threadResult = 1;
        GetExitCodeThread(hThread, &threadResult);
        EXPECT_EQ(threadResult, 0u) << "the helper thread could not open the clipboard";
        CloseHandle(hThread);
        CloseHandle(hOpened);
        CloseHandle(hDone);
        ExpectClipboardUntouched();
    }
}

class LinkPaintingTest : public LinkLabelTest
{
protected:
    // What the label answers when its parent is asked for its colours.
    struct ColourAnswer
    {
        HBRUSH brush;
        COLORREF text;
        int bkMode;
        LOGFONTA font;
    };
    ColourAnswer AskColours(HWND hLabel) const
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        SetTextColor(hdc, RGB(1, 2, 3));
        SetBkMode(hdc, OPAQUE);
        ColourAnswer answer;
        answer.brush = reinterpret_cast<HBRUSH>(SendMessageA(m_hDlg, WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(hdc),
                                                             reinterpret_cast<LPARAM>(hLabel)));
        answer.text = GetTextColor(hdc);
        answer.bkMode = GetBkMode(hdc);
        answer.font = FontDescription(GetCurrentObject(hdc, OBJ_FONT));
        DeleteDC(hdc);
        return answer;
    }

    static COLORREF BrushColour(HBRUSH hBrush)
    {
        LOGBRUSH lb = {};
        GetObjectA(hBrush, sizeof(lb), &lb);
        return lb.lbColor;
    }

    // Pixels that lean clearly towards the link colour (glyph edges are smoothed into the
    // background).
    static int TintedPixels(const LabelCanvas& canvas, COLORREF colour)
    {
        int count = 0;
        for (COLORREF c : canvas.Pixels())
        {
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (colour == kNormal)
                count += b - std::max(r, g) > 60;
            else if (colour == kHover)
                count += r - std::max(g, b) > 60;
        }
        return count;
    }
};

TEST_F(LinkPaintingTest, TheTextIsPaintedInItsColourOverTheBackgroundOfPlainStatics)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://paint.example/");
    const LOGFONTA controlFont =
        FontDescription(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));

    const ColourAnswer plain = AskColours(GetDlgItem(m_hDlg, IDC_VERSION_LINE));
    const ColourAnswer answer = AskColours(label);
    ASSERT_NE(plain.brush, nullptr);
    EXPECT_EQ(answer.brush, plain.brush) << "the background the dialog gives its statics";
    EXPECT_EQ(answer.text, kNormal);
    EXPECT_EQ(answer.bkMode, TRANSPARENT);
    EXPECT_EQ(answer.font.lfUnderline, 1);
    EXPECT_EQ(answer.font.lfHeight, controlFont.lfHeight);
    EXPECT_EQ(answer.font.lfWeight, controlFont.lfWeight);
    EXPECT_STREQ(answer.font.lfFaceName, controlFont.lfFaceName);
    // Read in UTF-16, since a face name outside the ANSI code page reads as question marks.
    LOGFONTW copyW = {};
    LOGFONTW controlW = {};
    GetObjectW(label.m_fontUnderline.GetSafeHandle(), sizeof(copyW), &copyW);
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)), sizeof(controlW),
               &controlW);
    EXPECT_EQ(std::wstring(copyW.lfFaceName), std::wstring(controlW.lfFaceName));

    {
        LabelCanvas canvas(label);
        canvas.Paint();
        EXPECT_GT(TintedPixels(canvas, kNormal), 20);
        EXPECT_EQ(TintedPixels(canvas, kHover), 0);
        EXPECT_EQ(canvas.At(canvas.Width() - 2, canvas.Height() - 2), BrushColour(plain.brush))
            << "the background is painted, not left as it was";
    }
    PointAt(label, OnText());
    LetTheTimerTick(label);
    EXPECT_EQ(AskColours(label).text, kHover);
    LabelCanvas canvas(label);
    canvas.Paint();
    EXPECT_GT(TintedPixels(canvas, kHover), 20);
    EXPECT_EQ(TintedPixels(canvas, kNormal), 0);
}

TEST_F(LinkPaintingTest, TheTextIsUnderlinedInTheColourOfEachState)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://underline.example/");
    const SIZE text = TextExtent(label);
    ASSERT_GT(text.cx, 40);

    {
        SCOPED_TRACE("idle");
        EXPECT_EQ(label.m_crText, kNormal);
        ExpectUnderlinedIn(label, kNormal, text);
    }
    {
        SCOPED_TRACE("under the pointer");
        PointAt(label, OnText());
        LetTheTimerTick(label);
        EXPECT_EQ(label.m_crText, kHover);
        ExpectUnderlinedIn(label, kHover, text);
    }
    {
        SCOPED_TRACE("pressed, the pointer gone");
        ParkPointer();
        Press(label, OnText());
        LetTheTimerTick(label);
        EXPECT_EQ(label.m_crText, kHover);
        ExpectUnderlinedIn(label, kHover, text);
    }
    {
        SCOPED_TRACE("visited");
        Release(label, OnText());
        ASSERT_TRUE(label.m_bVisited);
        EXPECT_EQ(label.m_crText, kVisited);
        ExpectUnderlinedIn(label, kVisited, text);
    }
}

// The canvas keeps what was painted, as the label's window does: each paint must replace the
// last one, not draw over it.
TEST_F(LinkPaintingTest, ARecolouredLabelRepaintsOverItsOldTextCleanly)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://repaint.example/");
    LabelCanvas fresh(label);
    fresh.Paint();
    const std::vector<COLORREF> firstPaint = fresh.Pixels();

    LabelCanvas window(label);
    window.Paint();
    PointAt(label, OnText());
    LetTheTimerTick(label);
    ASSERT_EQ(label.m_crText, kHover);
    window.Paint();
    ParkPointer();
    LetTheTimerTick(label);
    ASSERT_EQ(label.m_crText, kNormal);
    window.Paint();

    const std::vector<COLORREF> repainted = window.Pixels();
    ASSERT_EQ(repainted.size(), firstPaint.size());
    int differing = 0;
    for (size_t i = 0; i < repainted.size(); ++i)
        differing += repainted[i] != firstPaint[i];
    EXPECT_EQ(differing, 0) << "pixels that differ from the first idle paint after a hover";
}

TEST_F(LinkPaintingTest, ANewFontOrNoFontIsUnderlinedAndTheOldCopyDeleted)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://font.example/");
    SetWindowPos(label, nullptr, 0, 0, 400, 30, SWP_NOMOVE | SWP_NOZORDER);
    label.CreateUnderlineFont();
    HGDIOBJ hOldUnderline = label.m_fontUnderline.GetSafeHandle();
    ASSERT_NE(hOldUnderline, nullptr);

    LOGFONTA lf = {};
    lf.lfHeight = -23;
    lf.lfWeight = FW_BOLD;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    HFONT hBig = CreateFontIndirectA(&lf);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(hBig), TRUE);
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(hBig))
        << "the static took the font";
    EXPECT_EQ(GetObjectType(hOldUnderline), 0u);
    const ColourAnswer answer = AskColours(label);
    EXPECT_EQ(answer.font.lfHeight, -23);
    EXPECT_EQ(answer.font.lfWeight, FW_BOLD);
    EXPECT_EQ(answer.font.lfUnderline, 1);
    {
        SCOPED_TRACE("the new font, underlined");
        const SIZE big = TextExtent(label, hBig);
        ASSERT_LT(big.cy, 30);
        ExpectUnderlinedIn(label, kNormal, big);
    }

    // A control with no font paints in the system font: that one is underlined instead.
    SendMessageA(label, WM_SETFONT, 0, FALSE);
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), 0);
    const LOGFONTA system = FontDescription(GetStockObject(SYSTEM_FONT));
    const ColourAnswer fallback = AskColours(label);
    EXPECT_NE(fallback.brush, nullptr);
    EXPECT_EQ(fallback.font.lfUnderline, 1);
    EXPECT_EQ(fallback.font.lfHeight, system.lfHeight);
    EXPECT_STREQ(fallback.font.lfFaceName, system.lfFaceName);
    {
        SCOPED_TRACE("the system font, underlined");
        const SIZE text = TextExtent(label, GetStockObject(SYSTEM_FONT));
        ASSERT_GT(text.cx, 40);
        ExpectUnderlinedIn(label, kNormal, text);
    }

    label.DestroyWindow();
    DeleteObject(hBig);
}

// NanumGothic, which stands in for Gulim under Wine, draws its underline below its character cell:
// a static exactly one line high would clip it away. The label grows to show it, and its text and
// hit box stay where they were.
TEST_F(LinkPaintingTest, ALabelOneLineHighShowsAnUnderlineThatLiesBelowTheFontsCell)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://grow.example/");
    LOGFONTA lf = {};
    lf.lfHeight = -12; // 9 points, the Korean dialog font's size
    lstrcpyA(lf.lfFaceName, "NanumGothic");
    HFONT hFont = CreateFontIndirectA(&lf);
    {
        HDC hdc = GetDC(label);
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        char face[LF_FACESIZE] = {};
        GetTextFaceA(hdc, sizeof(face), face);
        SelectObject(hdc, hOld);
        ReleaseDC(label, hdc);
        ASSERT_STREQ(face, "NanumGothic") << "fonts-nanum is part of the set-up";
    }
    const SIZE text = TextExtent(label, hFont);
    RECT rcWindow;
    GetWindowRect(label, &rcWindow);
    SetWindowPos(label, nullptr, 0, 0, rcWindow.right - rcWindow.left, text.cy,
                 SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);

    ExpectUnderlinedIn(label, kNormal, text);
    RECT rcMoved;
    GetWindowRect(label, &rcMoved);
    EXPECT_EQ(rcMoved.top, rcWindow.top);
    EXPECT_EQ(rcMoved.left, rcWindow.left);
    EXPECT_TRUE(label.HitTestText({text.cx - 1, text.cy - 1}));
    EXPECT_FALSE(label.HitTestText({0, text.cy})) << "the box is still one line high";

    label.DestroyWindow();
    DeleteObject(hFont);
}

// The static paints with the label's underlined copy of its font; a label object that goes
// before its window must leave the static its own font, not a deleted one.
TEST_F(LinkPaintingTest, ALabelThatGoesBeforeItsWindowLeavesTheStaticItsFont)
{
    HWND hStatic = GetDlgItem(m_hDlg, IDC_LINK_HOMEPAGE);
    const LRESULT templateFont = SendMessageA(hStatic, WM_GETFONT, 0, 0);
    ASSERT_NE(templateFont, 0);
    {
        CLinkURLStatic label;
        Attach(label, IDC_LINK_HOMEPAGE, "http://gone.example/");
        LabelCanvas canvas(label);
        canvas.Paint();
        EXPECT_EQ(SendMessageA(hStatic, WM_GETFONT, 0, 0), templateFont);
    }
    EXPECT_EQ(CWnd::FromHandlePermanent(hStatic), nullptr);
    EXPECT_EQ(SendMessageA(hStatic, WM_GETFONT, 0, 0), templateFont);
    EXPECT_NE(GetObjectType(reinterpret_cast<HGDIOBJ>(templateFont)), 0u);
}

TEST_F(LinkPaintingTest, AStaticOfAnotherTypeIsPaintedPlainButStillClicks)
{
    ShellOpenRecorder recorder;
    HWND hFrame =
        CreateWindowExA(0, "STATIC", "http://frame.example/", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME,
                        10, 100, 300, 20, m_hDlg, nullptr, nullptr, nullptr);
    ASSERT_NE(hFrame, nullptr);
    SendMessageA(hFrame, WM_SETFONT, SendMessageA(m_hDlg, WM_GETFONT, 0, 0), FALSE);
    CLinkURLStatic label;
    ASSERT_TRUE(label.SubclassWindow(hFrame));

    const ColourAnswer answer = AskColours(label);
    EXPECT_NE(answer.brush, GetStockObject(NULL_BRUSH));
    EXPECT_NE(answer.brush, nullptr) << "the dialog's own colouring answers";
    EXPECT_NE(answer.text, kNormal);

    const POINT offText = {290, 2};
    EXPECT_FALSE(label.HitTestText(offText)) << "the box is measured as for a left-aligned text";
    Click(label, offText);
    Click(label, OnText());
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{"http://frame.example/"});
}
} // namespace
