// The link labels for players who use no mouse or who need high contrast: the version dialog walked
// with the keyboard alone (Tab to each link, Enter and Space to open it, Shift+F10 and the menu
// key for its copy menu, Esc to close), the focus rectangle and the keyboard cues that hide it,
// and the colours while the system's high-contrast setting is on.
#include "app/CSettingsApp.h"
#include "app/LanguageChoice.h"
#include "framework/CWnd.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "ui/CLinkURLStatic.h"
#include "ui/CVersionInfoDlg.h"
#include "ui/link/LinkTestSupport.h"
#include "ui/link/VersionDialogWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace
{
const char kHomePage[] = "http://kr.orvane.example/";
const char kCommunity[] = "http://community.orvane.example/";
const COLORREF kNormal = RGB(0, 0, 255);
const COLORREF kVisited = RGB(128, 0, 128);

bool HasTabStop(HWND hWnd)
{
    return (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

BOOL CALLBACK FindVersionDialog(HWND hWnd, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(hWnd, className, sizeof(className));
    if (std::string(className) == "#32770" && IsWindowVisible(hWnd) &&
        GetDlgItem(hWnd, IDC_LINK_HOMEPAGE) != nullptr)
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND VersionDialog()
{
    HWND hDlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindVersionDialog, reinterpret_cast<LPARAM>(&hDlg));
    return hDlg;
}

BOOL CALLBACK FindShownMenu(HWND hWnd, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(hWnd, className, sizeof(className));
    if (std::string(className) == "#32768" && IsWindowVisible(hWnd))
    {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

bool MenuShowing()
{
    bool bShowing = false;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownMenu, reinterpret_cast<LPARAM>(&bShowing));
    return bShowing;
}

// A key as the keyboard brings it: down and up posted to the focused window, so that the dialog's
// modal loop (its dialog manager) sees them first and translates them into characters.
void PressKey(UINT vk, UINT downMessage = WM_KEYDOWN)
{
    HWND hFocus = GetFocus();
    PostMessageA(hFocus, downMessage, vk, 1);
    PostMessageA(hFocus, downMessage == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, vk, 0xC0000001);
}

// Holds Shift down in this thread's keyboard state while alive, as a held key would.
class ShiftHeld
{
public:
    ShiftHeld() { SetShift(0x80); }
    ~ShiftHeld() { SetShift(0); }
    ShiftHeld(const ShiftHeld&) = delete;
    ShiftHeld& operator=(const ShiftHeld&) = delete;

private:
    static void SetShift(BYTE state)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
        SetKeyboardState(keys);
    }
};

// Where a menu opened from the keyboard belongs: the bottom left corner of the label's text, on
// screen.
POINT TextBottomLeftOnScreen(HWND hLabel)
{
    POINT pt = {0, TextExtentOf(hLabel).cy};
    ClientToScreen(hLabel, &pt);
    return pt;
}

class LinkKeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ChooseLanguageSet();
        theApp.ApplyIdentity();
        SetCursorPos(5, 5);
    }
};

TEST_F(LinkKeyboardTest, TheVersionDialogIsWalkedWithTheKeyboardAlone)
{
    ShellOpenRecorder recorder;
    PopupMenuWatcher menus(false);
    HWND hDlg = nullptr;
    HWND hHome = nullptr;
    HWND hCommunity = nullptr;
    std::optional<ShiftHeld> shift; // held from the F10 key's posting until it was handled
    auto label = [&](HWND hLabel)
    { return static_cast<CLinkURLStatic*>(CWnd::FromHandlePermanent(hLabel)); };

    ModalSteps steps;
    steps
        .Then(
            [&]
            {
                if ((hDlg = VersionDialog()) == nullptr)
                    return false;
                hHome = GetDlgItem(hDlg, IDC_LINK_HOMEPAGE);
                hCommunity = GetDlgItem(hDlg, IDC_LINK_COMMUNITY);
                EXPECT_TRUE(HasTabStop(hHome));
                EXPECT_TRUE(HasTabStop(hCommunity));
                EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDOK)) << "Enter still closes at once";
                PressKey(VK_TAB);
                return true;
            })
        .Then(
            [&]
            {
                EXPECT_EQ(GetFocus(), hHome) << "Tab from OK reaches the first link";
                PressKey(VK_RETURN);
                return true;
            })
        .Then(
            [&]
            {
                EXPECT_TRUE(IsWindowVisible(hDlg)) << "Enter on a link does not press OK";
                EXPECT_TRUE(label(hHome) != nullptr && label(hHome)->m_bVisited);
                EXPECT_TRUE(label(hHome) != nullptr && label(hHome)->m_crText == kVisited);
                PressKey(VK_TAB);
                return true;
            })
        .Then(
            [&]
            {
                EXPECT_EQ(GetFocus(), hCommunity) << "Tab reaches the second link";
                PressKey(VK_SPACE);
                return true;
            })
        .Then(
            [&]
            {
                EXPECT_TRUE(label(hCommunity) != nullptr && label(hCommunity)->m_bVisited);
                shift.emplace();
                PressKey(VK_F10, WM_SYSKEYDOWN);
                return true;
            })
        .Then(
            [&]
            {
                if (menus.Shown().size() < 1 || MenuShowing())
                    return false;
                shift.reset();
                PressKey(VK_APPS);
                return true;
            })
        .Then(
            [&]
            {
                if (menus.Shown().size() < 2 || MenuShowing())
                    return false;
                PressKey(VK_ESCAPE);
                return true;
            });

    CVersionInfoDlg dlg;
    steps.Start();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << "Esc closes the dialog";
    EXPECT_TRUE(steps.Finished());
    ASSERT_EQ(menus.Shown().size(), 2u) << "Shift+F10 and the menu key each open the menu";
    for (const auto& seen : menus.Shown())
    {
        EXPECT_EQ(seen.firstId, static_cast<UINT>(ID_EDIT_COPY));
        EXPECT_EQ(seen.rect.left, menus.Shown()[0].rect.left);
        EXPECT_EQ(seen.rect.top, menus.Shown()[0].rect.top);
    }
    // Each open starts a browser process of its own: the two may record in either order.
    std::vector<std::string> opened = recorder.OpenedUpToMarker(2);
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{kCommunity, kHomePage}));
}

// The version dialog's own labels, checked while it is open: where the keyboard menu shows.
TEST_F(LinkKeyboardTest, TheKeyboardMenuShowsAtTheBottomLeftOfTheLinksText)
{
    PopupMenuWatcher menus(false);
    POINT expected = {};
    ModalSteps steps;
    steps
        .Then(
            [&]
            {
                HWND hDlg = VersionDialog();
                if (hDlg == nullptr)
                    return false;
                HWND hHome = GetDlgItem(hDlg, IDC_LINK_HOMEPAGE);
                SetFocus(hHome);
                expected = TextBottomLeftOnScreen(hHome);
                // As the menu key and Shift+F10 bring it through the default handling.
                PostMessageA(hHome, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hHome),
                             MAKELPARAM(-1, -1));
                return true;
            })
        .Then(
            [&]
            {
                if (menus.Shown().size() < 1 || MenuShowing())
                    return false;
                PostMessageA(VersionDialog(), WM_COMMAND, IDCANCEL, 0);
                return true;
            });
    CVersionInfoDlg dlg;
    steps.Start();
    dlg.DoModal();
    EXPECT_TRUE(steps.Finished());
    ASSERT_EQ(menus.Shown().size(), 1u);
    EXPECT_EQ(menus.Shown()[0].rect.left, expected.x);
    EXPECT_EQ(menus.Shown()[0].rect.top, expected.y);
}

// Dialog 100 from the program's resources, modeless, with a framework object on it so that
// colour requests reach the labels.
class LinkLookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hDlg = m_window.Handle();
        ASSERT_NE(m_hDlg, nullptr);
        m_window.ShowAt(200, 200);
        SetCursorPos(5, 5);
        FlushEvents();
    }
    void TearDown() override
    {
        m_window.Destroy();
        FlushEvents();
    }

    void Attach(CLinkURLStatic& label, int nID, const char* text)
    {
        ASSERT_TRUE(m_window.Attach(label, nID, text));
    }

    // The dialog shows or hides focus cues, as the dialog manager has it do: the message goes to
    // the dialog and to each of its controls (Windows' default handling passes it on to every
    // child; Wine 8 keeps no keyboard-cue state and passes nothing on).
    void UpdateUIState(WORD action)
    {
        const WPARAM wParam = MAKEWPARAM(action, UISF_HIDEFOCUS);
        SendMessageA(m_hDlg, WM_UPDATEUISTATE, wParam, 0);
        for (HWND hChild = GetWindow(m_hDlg, GW_CHILD); hChild != nullptr;
             hChild = GetWindow(hChild, GW_HWNDNEXT))
            SendMessageA(hChild, WM_UPDATEUISTATE, wParam, 0);
        FlushEvents();
    }

    static std::vector<COLORREF> Painted(HWND hLabel)
    {
        LabelCanvas canvas(hLabel);
        canvas.Paint();
        return canvas.Pixels();
    }

    VersionDialogWindow m_window;
    HWND m_hDlg = nullptr;
};

// The focus rectangle: drawn around the text while the label has the focus and the dialog shows
// keyboard cues; gone when the focus leaves or the cues are hidden.
TEST_F(LinkLookTest, AFocusedLinkShowsAFocusRectangleAroundItsTextUnlessCuesAreHidden)
{
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://focus.example/");
    CLinkURLStatic other;
    Attach(other, IDC_LINK_COMMUNITY, "http://other.example/");
    UpdateUIState(UIS_CLEAR);
    const std::vector<COLORREF> unfocused = Painted(label);

    SetFocus(label);
    FlushEvents();
    LabelCanvas focused(label);
    focused.Paint();
    const SIZE text = TextExtentOf(label);
    // The dotted rectangle lies one pixel outside the text's box (clipped by the client area).
    // (The label measures its text a character at a time: a pixel or two of slack.)
    const RECT outer = {0, 0, text.cx + 4, text.cy + 3};
    const RECT inner = {2, 2, text.cx - 3, text.cy - 1};
    int changed = 0;
    int outsideTheBorder = 0;
    for (int y = 0; y < focused.Height(); ++y)
    {
        for (int x = 0; x < focused.Width(); ++x)
        {
            if (focused.At(x, y) == unfocused[static_cast<size_t>(y * focused.Width() + x)])
                continue;
            ++changed;
            const POINT pt = {x, y};
            outsideTheBorder += !PtInRect(&outer, pt) || PtInRect(&inner, pt);
        }
    }
    EXPECT_GT(changed, text.cx / 2) << "a dotted rectangle as long as the text";
    EXPECT_EQ(outsideTheBorder, 0) << "only the rectangle around the text changed";

    UpdateUIState(UIS_SET);
    EXPECT_EQ(Painted(label), unfocused) << "hidden while the dialog hides keyboard cues";
    UpdateUIState(UIS_CLEAR);
    EXPECT_NE(Painted(label), unfocused) << "shown again with the cues";

    SetFocus(other);
    FlushEvents();
    EXPECT_EQ(Painted(label), unfocused) << "gone once the focus moves on";
}

// The address of the import slot through which this program calls the named function of the
// named library, or null.
FARPROC* ImportSlot(const char* pszLibrary, const char* pszFunction)
{
    auto* pBase = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* pImport = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         pImport->Name != 0; ++pImport)
    {
        if (lstrcmpiA(reinterpret_cast<const char*>(pBase + pImport->Name), pszLibrary) != 0)
            continue;
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot)
        {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const auto* pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(pByName->Name), pszFunction) == 0)
                return reinterpret_cast<FARPROC*>(&pSlot->u1.Function);
        }
    }
    return nullptr;
}

// High contrast turned on for this test and off again when it ends, with a black scheme whose
// hot-light (link) colour is yellow. Where the platform keeps the setting (Windows), it is set
// with SystemParametersInfo; Wine 8 refuses SPI_SETHIGHCONTRAST (ERROR_INVALID_SPI_VALUE) and
// always answers "off", so there this program's own SPI_GETHIGHCONTRAST answers "on" instead, and
// the scheme's colours are applied with SetSysColors as Windows applies them. Either way the
// dialog is told as Windows tells every top-level window: WM_SYSCOLORCHANGE and WM_SETTINGCHANGE.
class HighContrastOn
{
public:
    explicit HighContrastOn(HWND hDlg) : m_hDlg(hDlg)
    {
        for (size_t i = 0; i < kColourCount; ++i)
            m_saved[i] = GetSysColor(kElements[i]);
        HIGHCONTRASTW hc = {};
        hc.cbSize = sizeof(hc);
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0);
        hc.dwFlags |= HCF_HIGHCONTRASTON;
        m_bPlatform = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(hc), &hc, 0) != FALSE;
        if (!m_bPlatform)
        {
            m_pSlot = ImportSlot("user32.dll", "SystemParametersInfoW");
            EXPECT_NE(m_pSlot, nullptr) << "no import of SystemParametersInfoW to answer through";
            if (m_pSlot != nullptr)
            {
                s_pfnReal = reinterpret_cast<SpiFunction>(reinterpret_cast<void*>(*m_pSlot));
                Replace(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&AnswerHighContrastOn)));
            }
        }
        const COLORREF scheme[kColourCount] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255),
                                               RGB(255, 255, 0)};
        SetSysColors(static_cast<int>(kColourCount), kElements, scheme);
        Notify();
    }
    ~HighContrastOn()
    {
        if (m_bPlatform)
        {
            HIGHCONTRASTW hc = {};
            hc.cbSize = sizeof(hc);
            SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0);
            hc.dwFlags &= ~static_cast<DWORD>(HCF_HIGHCONTRASTON);
            SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(hc), &hc, 0);
        }
        else if (m_pSlot != nullptr)
        {
            Replace(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(s_pfnReal)));
        }
        SetSysColors(static_cast<int>(kColourCount), kElements, m_saved);
        Notify();
    }
    HighContrastOn(const HighContrastOn&) = delete;
    HighContrastOn& operator=(const HighContrastOn&) = delete;

private:
    using SpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    static constexpr size_t kColourCount = 4;
    static constexpr int kElements[kColourCount] = {COLOR_3DFACE, COLOR_BTNTEXT, COLOR_WINDOWTEXT,
                                                    COLOR_HOTLIGHT};

    static BOOL WINAPI AnswerHighContrastOn(UINT uiAction, UINT uiParam, PVOID pvParam,
                                            UINT fWinIni)
    {
        const BOOL bResult = s_pfnReal(uiAction, uiParam, pvParam, fWinIni);
        if (uiAction == SPI_GETHIGHCONTRAST && bResult)
            static_cast<HIGHCONTRASTW*>(pvParam)->dwFlags |= HCF_HIGHCONTRASTON;
        return bResult;
    }

    void Replace(FARPROC pfn)
    {
        DWORD dwOld = 0;
        VirtualProtect(m_pSlot, sizeof(*m_pSlot), PAGE_READWRITE, &dwOld);
        *m_pSlot = pfn;
        VirtualProtect(m_pSlot, sizeof(*m_pSlot), dwOld, &dwOld);
    }

    void Notify()
    {
        SendMessageW(m_hDlg, WM_SYSCOLORCHANGE, 0, 0);
        SendMessageW(m_hDlg, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        FlushEvents();
    }

    static inline SpiFunction s_pfnReal = nullptr;
    HWND m_hDlg;
    bool m_bPlatform = false;
    FARPROC* m_pSlot = nullptr;
    COLORREF m_saved[kColourCount] = {};
};

// While high contrast is on, every link (visited too) is drawn in the system's hot-light colour on
// the dialog's own background; the label repaints when the setting changes while it is open; once
// high contrast is off again, the normal colours are back.
TEST_F(LinkLookTest, UnderHighContrastLinksDrawInTheHotLightColourOnTheDialogsBackground)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    Attach(label, IDC_LINK_HOMEPAGE, "http://contrast.example/");
    CLinkURLStatic visited;
    Attach(visited, IDC_LINK_COMMUNITY, "http://visited.example/");
    SendMessageA(visited, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(visited, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(visited.m_bVisited);
    ExpectUnderlinedIn(label, kNormal, TextExtentOf(label));
    ExpectUnderlinedIn(visited, kVisited, TextExtentOf(visited));
    {
        HighContrastOn highContrast(m_hDlg);
        const COLORREF hotLight = GetSysColor(COLOR_HOTLIGHT);
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        ASSERT_NE(hotLight, face);
        for (CLinkURLStatic* pLabel : {&label, &visited})
        {
            SCOPED_TRACE(std::string(pLabel->m_strURL));
            ExpectUnderlinedIn(*pLabel, hotLight, TextExtentOf(*pLabel));
            LabelCanvas canvas(*pLabel);
            canvas.Paint();
            EXPECT_EQ(canvas.At(canvas.Width() - 2, canvas.Height() - 2), face)
                << "on the dialog's own background";
        }
        // A setting changed while the dialog is open: the labels paint again at once.
        ValidateRect(label, nullptr);
        SendMessageW(m_hDlg, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        RECT rcUpdate = {};
        EXPECT_TRUE(GetUpdateRect(label, &rcUpdate, FALSE)) << "repainted after the change";
        ValidateRect(label, nullptr);
        SendMessageW(m_hDlg, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_TRUE(GetUpdateRect(label, &rcUpdate, FALSE)) << "repainted after new colours";
    }
    ExpectUnderlinedIn(label, kNormal, TextExtentOf(label));
    ExpectUnderlinedIn(visited, kVisited, TextExtentOf(visited));
}
} // namespace
