// The version information dialog run modally as the program runs it: opened through the main
// dialog's system menu, checked on screen, clicked, closed and opened again; what it leaves behind
// after closing; and which address each language set's labels open and copy.
#include "app/CSettingsApp.h"
#include "app/LanguageChoice.h"
#include "framework/CString.h"
#include "res/resource.h"
#include "support/LanguageTexts.h"
#include "support/ObjectCounts.h"
#include "support/ScratchCurrentUser.h"
#include "support/ScratchKey.h"
#include "ui/CLinkURLStatic.h"
#include "ui/CStartupSettingsDlg.h"
#include "ui/CVersionInfoDlg.h"
#include "ui/link/LinkTestSupport.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();
const char kHomePage[] = "http://kr.orvane.example/";
const char kCommunity[] = "http://community.orvane.example/";
const COLORREF kNormal = RGB(0, 0, 255);
const COLORREF kVisited = RGB(128, 0, 128);

LOGFONTA FontOf(HWND hWnd)
{
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

struct DialogSearch
{
    int nID;
    HWND found;

    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam)
    {
        auto* self = reinterpret_cast<DialogSearch*>(lParam);
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof(className));
        if (std::string(className) == "#32770" && IsWindowVisible(hWnd) &&
            GetDlgItem(hWnd, self->nID) != nullptr)
        {
            self->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
};

// A visible dialog of this thread that has control nID: 1016 marks the version dialog, 1006 the
// main dialog.
HWND FindDialogWith(int nID)
{
    DialogSearch search = {nID, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &DialogSearch::Visit,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The labels being watched, and how often KillTimer still found a label's hover timer once the
// label's own WM_DESTROY handling was over.
std::vector<HWND> s_watchedLabels;
int s_timersFoundAfterDestroy = 0;

// How often each watched label's hover timer has ticked, as the modal loop takes the ticks.
std::vector<int> s_hoverTicks;

LRESULT CALLBACK CountHoverTicks(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER &&
        msg->wParam == CLinkURLStatic::kHoverTimerId)
    {
        for (size_t i = 0; i < s_watchedLabels.size() && i < s_hoverTicks.size(); ++i)
        {
            if (msg->hwnd == s_watchedLabels[i])
                ++s_hoverTicks[i];
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KillTimerAfterDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && p->message == WM_DESTROY)
    {
        for (HWND hLabel : s_watchedLabels)
        {
            if (p->hwnd == hLabel && KillTimer(hLabel, CLinkURLStatic::kHoverTimerId))
                ++s_timersFoundAfterDestroy;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

CLinkURLStatic* LabelOf(HWND hDlg, int nID)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(GetDlgItem(hDlg, nID));
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CLinkURLStatic)))
        return nullptr;
    return static_cast<CLinkURLStatic*>(pWnd);
}

// Everything the main dialog shows: each control's id, text, check state and enabled state.
std::string MainDialogState(HWND hDlg)
{
    std::string state;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        state += std::to_string(GetDlgCtrlID(hChild)) + " '" + TextOf(hChild) + "' check " +
                 std::to_string(SendMessageA(hChild, BM_GETCHECK, 0, 0)) +
                 (IsWindowEnabled(hChild) ? " enabled" : " disabled") +
                 (IsWindowVisible(hChild) ? " visible\n" : " hidden\n");
    }
    return state;
}

// What one opening of the version dialog leaves to check after it has closed.
struct OpenedDialog
{
    HWND hDlg = nullptr;
    HWND hLabels[2] = {};
    HGDIOBJ hBold = nullptr;
    HGDIOBJ hUnderlines[2] = {};
};

// Records the windows and fonts of an open version dialog, making the labels' underlined fonts
// now if no paint has yet.
OpenedDialog Record(HWND hDlg)
{
    OpenedDialog opened;
    opened.hDlg = hDlg;
    opened.hBold =
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(hDlg, IDC_VERSION_TITLE, WM_GETFONT, 0, 0));
    const int ids[2] = {IDC_LINK_HOMEPAGE, IDC_LINK_COMMUNITY};
    for (int i = 0; i < 2; ++i)
    {
        opened.hLabels[i] = GetDlgItem(hDlg, ids[i]);
        if (CLinkURLStatic* pLabel = LabelOf(hDlg, ids[i]))
        {
            pLabel->CreateUnderlineFont();
            opened.hUnderlines[i] = pLabel->m_fontUnderline.GetSafeHandle();
        }
    }
    return opened;
}

void ExpectNothingLeft(const OpenedDialog& opened)
{
    EXPECT_FALSE(IsWindow(opened.hDlg));
    EXPECT_EQ(CWnd::FromHandlePermanent(opened.hDlg), nullptr);
    for (HWND hLabel : opened.hLabels)
    {
        EXPECT_FALSE(IsWindow(hLabel));
        EXPECT_EQ(CWnd::FromHandlePermanent(hLabel), nullptr);
    }
    ASSERT_NE(opened.hBold, nullptr);
    EXPECT_EQ(GetObjectType(opened.hBold), 0u) << "the bold title font is deleted";
    for (HGDIOBJ hFont : opened.hUnderlines)
    {
        ASSERT_NE(hFont, nullptr);
        EXPECT_EQ(GetObjectType(hFont), 0u) << "the underlined label font is deleted";
    }
}

class VersionInfoDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // As the program starts: the language set, then the identity the main dialog reads with.
        ChooseLanguageSet();
        theApp.ApplyIdentity();
        SetCursorPos(5, 5);
    }
    ScratchKey appKey{kAppKey};
};

TEST_F(VersionInfoDlgTest, TheSystemMenuItemOpensItWithBoldTitleVersionAndLinksEachTimeAnew)
{
    ShellOpenRecorder recorder;
    CString strTitle;
    theApp.FormatTitledString(IDS_TITLE_FORMAT, strTitle);
    ASSERT_FALSE(strTitle.IsEmpty());
    if (GetACP() == 949)
    {
        EXPECT_EQ(std::string(strTitle), InCodePage("『Corvath Plus』 기동환경 설정", 949));
    }

    HWND hMain = nullptr;
    std::string mainBefore;
    OpenedDialog first;
    ModalSteps steps;
    steps
        .Then(
            [&]
            {
                hMain = FindDialogWith(IDC_USE_PROXY);
                if (hMain == nullptr)
                    return false;
                mainBefore = MainDialogState(hMain);
                PostMessageA(hMain, WM_SYSCOMMAND, IDM_VERSION_INFO, 0);
                return true;
            })
        .Then(
            [&]
            {
                HWND hDlg = FindDialogWith(IDC_LINK_HOMEPAGE);
                if (hDlg == nullptr)
                    return false;
                // As the user reads it: the title of the user's set, whatever the code page.
                EXPECT_EQ(ShownItemText(hDlg, IDC_VERSION_TITLE), TextsForThisUser().caption);
                // Modal to the main dialog, as the program runs it (the main window).
                EXPECT_EQ(GetWindow(hDlg, GW_OWNER), hMain);
                EXPECT_FALSE(IsWindowEnabled(hMain));
                const LOGFONTA title = FontOf(GetDlgItem(hDlg, IDC_VERSION_TITLE));
                const LOGFONTA dialog = FontOf(hDlg);
                EXPECT_EQ(title.lfWeight, 700);
                EXPECT_NE(dialog.lfWeight, 700);
                EXPECT_EQ(title.lfHeight, dialog.lfHeight) << "a bold copy of the dialog font";
                EXPECT_STREQ(title.lfFaceName, dialog.lfFaceName);
                EXPECT_EQ(ItemText(hDlg, IDC_VERSION_LINE), "Version 1.0");
                EXPECT_EQ(ItemText(hDlg, IDC_LINK_HOMEPAGE), kHomePage);
                EXPECT_EQ(ItemText(hDlg, IDC_LINK_COMMUNITY), kCommunity);

                CLinkURLStatic* pHome = LabelOf(hDlg, IDC_LINK_HOMEPAGE);
                CLinkURLStatic* pCommunity = LabelOf(hDlg, IDC_LINK_COMMUNITY);
                EXPECT_NE(pHome, nullptr);
                EXPECT_NE(pCommunity, nullptr);
                if (pHome == nullptr || pCommunity == nullptr)
                    return true;
                EXPECT_EQ(std::string(pHome->m_strURL), kHomePage);
                EXPECT_EQ(std::string(pCommunity->m_strURL), kCommunity);
                EXPECT_FALSE(pHome->m_bVisited);
                for (HWND hLabel : {pHome->m_hWnd, pCommunity->m_hWnd})
                    ExpectUnderlinedIn(hLabel, kNormal, TextExtentOf(hLabel));

                SendMessageA(*pHome, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                SendMessageA(*pHome, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                EXPECT_TRUE(pHome->m_bVisited);
                ExpectUnderlinedIn(*pHome, kVisited, TextExtentOf(*pHome));
                EXPECT_EQ(pHome->m_crText, kVisited);
                EXPECT_FALSE(pCommunity->m_bVisited);
                first = Record(hDlg);
                PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                return true;
            })
        .Then(
            [&]
            {
                if (FindDialogWith(IDC_LINK_HOMEPAGE) != nullptr)
                    return false;
                ExpectNothingLeft(first);
                PostMessageA(hMain, WM_SYSCOMMAND, IDM_VERSION_INFO, 0);
                return true;
            })
        .Then(
            [&]
            {
                HWND hDlg = FindDialogWith(IDC_LINK_HOMEPAGE);
                if (hDlg == nullptr)
                    return false;
                for (int nID : {IDC_LINK_HOMEPAGE, IDC_LINK_COMMUNITY})
                {
                    SCOPED_TRACE(nID);
                    CLinkURLStatic* pLabel = LabelOf(hDlg, nID);
                    EXPECT_NE(pLabel, nullptr);
                    if (pLabel == nullptr)
                        continue;
                    EXPECT_FALSE(pLabel->m_bVisited) << "a new dialog starts unvisited";
                    EXPECT_EQ(pLabel->m_crText, kNormal);
                }
                PostMessageA(hDlg, WM_CLOSE, 0, 0); // the close box
                return true;
            })
        .Then(
            [&]
            {
                if (FindDialogWith(IDC_LINK_HOMEPAGE) != nullptr)
                    return false;
                EXPECT_EQ(MainDialogState(hMain), mainBefore);
                PostMessageA(hMain, WM_COMMAND, IDCANCEL, 0);
                return true;
            });

    CStartupSettingsDlg dlg(nullptr);
    theApp.m_pMainWnd = &dlg;
    steps.Start();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(steps.Finished());
    EXPECT_EQ(theApp.m_pMainWnd, nullptr) << "cleared when the main window went";
    EXPECT_EQ(recorder.OpenedUpToMarker(1), std::vector<std::string>{kHomePage});
}

// Each opening is checked for what can be named (no window, map entry, font or timer of the dialog
// outlives it), and the openings after the first together for what cannot: the GDI objects, the
// windows and the kernel handles of the process, counted where Wine keeps them. The first opening
// may fill caches for good; every later one must leave the counts exactly as it found them.
TEST_F(VersionInfoDlgTest, ClosingItLeavesNoWindowFontOrTimerBehind)
{
    s_timersFoundAfterDestroy = 0;
    HHOOK hHook =
        SetWindowsHookExA(WH_CALLWNDPROCRET, &KillTimerAfterDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);
    HHOOK hTickHook =
        SetWindowsHookExA(WH_GETMESSAGE, &CountHoverTicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(hTickHook, nullptr);

    const int kOpenings = 5;
    ObjectCounts afterFirst;
    for (int i = 0; i < kOpenings; ++i)
    {
        SCOPED_TRACE("opening " + std::to_string(i + 1));
        OpenedDialog opened;
        ModalSteps steps;
        steps
            .Then(
                [&]
                {
                    HWND hDlg = FindDialogWith(IDC_LINK_HOMEPAGE);
                    if (hDlg == nullptr)
                        return false;
                    opened = Record(hDlg);
                    s_watchedLabels.assign(std::begin(opened.hLabels), std::end(opened.hLabels));
                    s_hoverTicks.assign(s_watchedLabels.size(), 0);
                    // Let the hover timers run over the text for a few ticks.
                    POINT pt = {2, 2};
                    ClientToScreen(opened.hLabels[0], &pt);
                    SetCursorPos(pt.x, pt.y);
                    return true;
                })
            .Then(
                [&]
                {
                    for (int ticks : s_hoverTicks)
                    {
                        if (ticks < 3)
                            return false;
                    }
                    SetCursorPos(5, 5);
                    PostMessageA(opened.hDlg, WM_COMMAND, i % 2 == 0 ? IDOK : IDCANCEL, 0);
                    return true;
                });
        {
            CVersionInfoDlg dlg;
            steps.Start();
            EXPECT_NE(dlg.DoModal(), -1);
            EXPECT_TRUE(steps.Finished());
        }
        ExpectNothingLeft(opened);
        if (i == 0)
            afterFirst = ObjectCounts::Now();
    }
    UnhookWindowsHookEx(hTickHook);
    UnhookWindowsHookEx(hHook);
    s_watchedLabels.clear();

    EXPECT_EQ(s_timersFoundAfterDestroy, 0) << "a label's timer outlived its WM_DESTROY";
    const ObjectCounts afterLast = ObjectCounts::Now();
    std::printf("after openings 2 to %d: GDI objects %lu -> %lu, windows %lu -> %lu, "
                "kernel handles %lu -> %lu\n",
                kOpenings, afterFirst.gdi, afterLast.gdi, afterFirst.user, afterLast.user,
                afterFirst.handles, afterLast.handles);
    ASSERT_GT(afterFirst.gdi, 0u) << "the GDI objects cannot be counted here";
    ASSERT_GT(afterFirst.handles, 0u) << "the kernel handles cannot be counted here";
    EXPECT_EQ(afterLast.gdi, afterFirst.gdi);
    EXPECT_EQ(afterLast.user, afterFirst.user);
    EXPECT_EQ(afterLast.handles, afterFirst.handles);
}

// Wine's resource loader follows the thread locale, which picks the set here. Every set shows the
// two Korean addresses, but its labels open and copy the addresses of its own template.
TEST_F(VersionInfoDlgTest, EachLanguageSetsLabelsCopyTheirTemplatesAddressWhileShowingTheFixedOne)
{
    struct Case
    {
        const char* name;
        LANGID language;
        const char* homePage;
        const char* community;
    };
    const Case cases[] = {
        {"Korean", MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), kHomePage, kCommunity},
        {"Japanese", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), "http://jp.orvane.example/",
         "http://community-jp.orvane.example/"},
        {"Traditional Chinese", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL),
         "http://tw.orvane.example/", "http://community-tw.orvane.example/"},
    };
    const LCID previous = GetThreadLocale();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetThreadLocale(MAKELCID(c.language, SORT_DEFAULT));
        std::vector<std::string> copied;
        ModalSteps steps;
        steps.Then(
            [&]
            {
                HWND hDlg = FindDialogWith(IDC_LINK_HOMEPAGE);
                if (hDlg == nullptr)
                    return false;
                EXPECT_EQ(ItemText(hDlg, IDC_LINK_HOMEPAGE), kHomePage);
                EXPECT_EQ(ItemText(hDlg, IDC_LINK_COMMUNITY), kCommunity);
                for (int nID : {IDC_LINK_HOMEPAGE, IDC_LINK_COMMUNITY})
                {
                    SendDlgItemMessageA(hDlg, nID, WM_COMMAND, ID_EDIT_COPY, 0);
                    EXPECT_EQ(GetClipboardOwner(), GetDlgItem(hDlg, nID));
                    ClipboardAccess clipboard;
                    copied.push_back(clipboard.Text());
                }
                PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                return true;
            });
        CVersionInfoDlg dlg;
        steps.Start();
        dlg.DoModal();
        EXPECT_TRUE(steps.Finished());
        EXPECT_EQ(copied, (std::vector<std::string>{c.homePage, c.community}));
    }
    SetThreadLocale(previous);
}
} // namespace
