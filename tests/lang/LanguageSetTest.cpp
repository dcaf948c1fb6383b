// Run once per user language (ctest sets LC_ALL and STARTUP_EXPECTED_SET): the program shows the
// texts of the matching set, read back as the user reads them (through the W functions, from the
// real dialog, its system menu and the program's message box). A language outside the three gets
// the Korean set, also where the system's code page holds no Korean.
#include "app/CSettingsApp.h"
#include "app/LanguageChoice.h"
#include "framework/CString.h"
#include "framework/CWnd.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/LanguageTexts.h"
#include "support/ModalDialogRun.h"
#include "support/ScratchCurrentUser.h"
#include "support/WindowText.h"
#include "ui/CStartupSettingsDlg.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>

namespace
{
// The dialog reads the settings from the application's key on opening.
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();

struct LanguageSet
{
    const LanguageTexts& texts;
    UINT codePage;        // the one the set's strings are converted to
    const char* useProxy; // the label of check box 1006, from the set's dialog template
};

const LanguageSet kSets[] = {
    {kKoreanTexts, 949, "프록시 사용"},
    {kJapaneseTexts, 932, "通信にプロキシを使用"},
    {kTraditionalChineseTexts, 950, "連線時使用Proxy "},
};

const LanguageSet& ExpectedSet()
{
    const char* name = getenv("STARTUP_EXPECTED_SET");
    for (const LanguageSet& set : kSets)
    {
        if (name != nullptr && std::string(name) == set.texts.name)
            return set;
    }
    return kSets[0];
}

// What the main dialog shows of the set, read while it is on screen.
struct ShownDialog
{
    std::string caption;
    std::string useProxy;
    std::string versionItem; // the last item of the system menu
};

std::string LastMenuItemText(HMENU hMenu)
{
    wchar_t szText[128] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = szText;
    item.cch = 128;
    if (hMenu == nullptr || !GetMenuItemInfoW(hMenu, GetMenuItemCount(hMenu) - 1, TRUE, &item))
        return "<no menu item>";
    return Utf8Of(szText, static_cast<int>(item.cch));
}

class LanguageSetTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ChooseLanguageSet();
        theApp.ApplyIdentity();
    }

    static ShownDialog ShowMainDialog()
    {
        ShownDialog shown;
        CStartupSettingsDlg dlg;
        theApp.m_pMainWnd = &dlg;
        RunModal(dlg, {[&](HWND hDlg)
                       {
                           shown.caption = ShownText(hDlg);
                           shown.useProxy = ShownItemText(hDlg, IDC_USE_PROXY);
                           shown.versionItem = LastMenuItemText(GetSystemMenu(hDlg, FALSE));
                       }});
        theApp.m_pMainWnd = nullptr;
        return shown;
    }

    const LanguageSet& set = ExpectedSet();
};

TEST_F(LanguageSetTest, TheDialogShowsTheSetsTitleAndVersionItem)
{
    const ShownDialog shown = ShowMainDialog();
    EXPECT_EQ(shown.caption, set.texts.caption) << set.texts.name;
    EXPECT_EQ(shown.versionItem, set.texts.versionItem) << set.texts.name;
}

// The labels come from the dialog template, which the resource loader picks by language. They
// read right whatever the system's code page: the dialog is made from its template with the W
// functions, so no label passes through a code page that lacks the set's script.
TEST_F(LanguageSetTest, TheDialogTemplateOfTheSetIsTheOneFound)
{
    EXPECT_EQ(ShowMainDialog().useProxy, set.useProxy) << set.texts.name;
}

TEST_F(LanguageSetTest, GameRunningMessageHasOneLineInKoreanAndTwoElsewhere)
{
    MessageBoxAnswerer boxes{IDOK};
    theApp.ShowTitledMessage(IDS_GAME_RUNNING, MB_OK | MB_ICONEXCLAMATION);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    const std::string text = boxes.Seen()[0].shownText;
    EXPECT_EQ(text, set.texts.gameRunning) << set.texts.name;
    EXPECT_EQ(boxes.Seen()[0].shownCaption, "Corvath Plus");
    const size_t lineFeeds = std::count(text.begin(), text.end(), '\n');
    EXPECT_EQ(lineFeeds, std::string(set.texts.name) == "ko" ? 0u : 1u);
}

// String resources arrive in the set's code page, whatever the system's code page is: the one the
// program shows its texts from and hands text messages to its handlers in.
TEST_F(LanguageSetTest, StringsArriveInTheSetsCodePage)
{
    CString caption;
    ASSERT_TRUE(theApp.FormatTitledString(IDS_TITLE_FORMAT, caption));
    EXPECT_EQ(std::string(caption), InCodePage(set.texts.caption, set.codePage));
    CString item;
    ASSERT_TRUE(item.LoadString(IDS_VERSION_MENU_ITEM));
    EXPECT_EQ(std::string(item), InCodePage(set.texts.versionItem, set.codePage));
}

// A window of the framework's with handlers for the text messages: what WM_SETTEXT brought, and
// the program text it answers WM_GETTEXT with.
class CTextHandlingWnd : public CWnd
{
public:
    CString m_strSet;
    CString m_strAnswer;

protected:
    LRESULT OnSetText(WPARAM, LPARAM lParam)
    {
        m_strSet = reinterpret_cast<LPCSTR>(lParam);
        return Default();
    }
    // Until it is given an answer, the window's own text through the default handling.
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam)
    {
        if (m_strAnswer.IsEmpty())
            return Default();
        const int cb = std::min(m_strAnswer.GetLength(), static_cast<int>(wParam) - 1);
        memcpy(reinterpret_cast<char*>(lParam), m_strAnswer.GetString(), static_cast<size_t>(cb));
        reinterpret_cast<char*>(lParam)[cb] = '\0';
        return cb;
    }
    LRESULT OnGetTextLength(WPARAM, LPARAM)
    {
        return m_strAnswer.IsEmpty() ? Default() : m_strAnswer.GetLength();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTextHandlingWnd, CWnd)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

std::wstring Widened(const char* utf8)
{
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// Every window the framework owns has a Unicode procedure: a reader gets its text in UTF-16
// whatever the system's code page, while the program's handlers still get and give text in the
// set's code page, converted at that one place.
TEST_F(LanguageSetTest, HandlersGetAndGiveTextInTheSetsCodePageWhileReadersGetUnicode)
{
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    CTextHandlingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_TRUE(IsWindowUnicode(hWnd));

    const std::wstring caption = Widened(set.texts.caption);
    SetWindowTextW(hWnd, caption.c_str());
    EXPECT_EQ(std::string(wnd.m_strSet), InCodePage(set.texts.caption, set.codePage))
        << "the handler's text is in the set's code page";
    EXPECT_EQ(ShownText(hWnd), set.texts.caption)
        << "the default handling kept the original and gives it to a reader unchanged";

    wnd.m_strAnswer = InCodePage(set.texts.versionItem, set.codePage).c_str();
    EXPECT_EQ(ShownText(hWnd), set.texts.versionItem) << "the handler's answer, read wide";
    wchar_t szShort[3] = {L'x', L'x', L'x'};
    EXPECT_EQ(SendMessageW(hWnd, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(szShort)), 2);
    EXPECT_EQ(std::wstring(szShort), Widened(set.texts.versionItem).substr(0, 2))
        << "cut to the reader's buffer";

    DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}
} // namespace
