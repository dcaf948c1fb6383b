// Program texts read right whatever the thread's regional format: every string is converted with
// the code page of the language set it came from. On Windows the resource loader follows the
// display language while the thread's ANSI code page follows the regional format, so a Korean
// display language with an English (US) format would show '?' for every string converted with the
// thread's code page. Wine ties both to one setting, so no run of the program can show this; here
// the thread locale is forced with SetThreadLocale before anything loads, and each language set
// sits alone in a module of its own, so that the loader answers from that set whatever the locale,
// as it does for a set it chose by fallback. ctest runs this program as a German user, whose
// system code page (1252) holds none of the three sets' scripts.
#include "app/CSettingsApp.h"
#include "framework/CString.h"
#include "framework/CWideText.h"
#include "framework/ModuleState.h"
#include "framework/StringResource.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/LanguageTexts.h"
#include "support/ModalDialogRun.h"
#include "support/WindowText.h"
#include "ui/CVersionInfoDlg.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct SetModule
{
    const LanguageTexts& texts;
    UINT codePage;
    const char* path;
    const wchar_t* faceName; // the font of the set's version dialog
};

const SetModule kSets[] = {
    {kKoreanTexts, 949, STARTUP_ONE_SET_KO, L"MS Shell Dlg"},
    {kJapaneseTexts, 932, STARTUP_ONE_SET_JA, L"ＭＳ Ｐゴシック"},
    {kTraditionalChineseTexts, 950, STARTUP_ONE_SET_ZH_TW, L"細明體"},
};

struct ThreadLocale
{
    const char* name;
    LANGID language;
};

const ThreadLocale kThreadLocales[] = {
    {"en-US", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
    {"de-DE", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
    {"ko-KR", MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)},
    {"ja-JP", MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)},
    {"zh-TW", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)},
};

// A window's text as a reader outside the program asks for it: WM_GETTEXT sent wide.
std::string TextReadWide(HWND hWnd)
{
    wchar_t szText[512] = {};
    const LRESULT cch = SendMessageW(hWnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(szText));
    return Utf8Of(szText, static_cast<int>(cch));
}

std::string Utf8OfProgramText(const CString& text)
{
    const CWideText wide(text);
    return Utf8Of(wide, wide.GetLength());
}

// While alive, the thread runs under the locale and the framework takes its resources from the
// set's module.
class SetInForce
{
public:
    SetInForce(HMODULE hSet, LANGID threadLanguage)
        : m_lcidBefore(GetThreadLocale()),
          m_hResourcesBefore(AfxGetModuleState()->m_hCurrentResourceHandle)
    {
        m_bLocaleSet = SetThreadLocale(MAKELCID(threadLanguage, SORT_DEFAULT)) != FALSE;
        AfxGetModuleState()->m_hCurrentResourceHandle = hSet;
    }
    ~SetInForce()
    {
        AfxGetModuleState()->m_hCurrentResourceHandle = m_hResourcesBefore;
        SetThreadLocale(m_lcidBefore);
    }
    SetInForce(const SetInForce&) = delete;
    SetInForce& operator=(const SetInForce&) = delete;

    bool LocaleSet() const { return m_bLocaleSet; }

private:
    LCID m_lcidBefore;
    HINSTANCE m_hResourcesBefore;
    bool m_bLocaleSet = false;
};

class StringCodePageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { theApp.ApplyIdentity(); }

    void SetUp() override
    {
        for (size_t i = 0; i < std::size(kSets); ++i)
        {
            m_hSets[i] = LoadLibraryA(kSets[i].path);
            ASSERT_NE(m_hSets[i], nullptr) << kSets[i].path << " (error " << GetLastError() << ")";
        }
    }
    void TearDown() override
    {
        for (HMODULE hSet : m_hSets)
        {
            if (hSet != nullptr)
                FreeLibrary(hSet);
        }
    }

    HMODULE m_hSets[std::size(kSets)] = {};
};

TEST_F(StringCodePageTest, EachStringIsInTheCodePageOfItsSetWhateverTheThreadLocale)
{
    for (size_t i = 0; i < std::size(kSets); ++i)
    {
        const SetModule& set = kSets[i];
        for (const ThreadLocale& locale : kThreadLocales)
        {
            SCOPED_TRACE(std::string("set ") + set.texts.name + ", thread locale " + locale.name);
            SetInForce inForce(m_hSets[i], locale.language);
            ASSERT_TRUE(inForce.LocaleSet());

            CString item;
            ASSERT_TRUE(item.LoadString(IDS_VERSION_MENU_ITEM));
            EXPECT_EQ(std::string(item), InCodePage(set.texts.versionItem, set.codePage));
            EXPECT_EQ(AfxGetConversionCodePage(), set.codePage);
            EXPECT_EQ(AfxGetStringCodePage(IDS_GAME_RUNNING), set.codePage);

            // What the user reads: the caption as it is handed to a window, and a message box.
            CString caption;
            ASSERT_TRUE(theApp.FormatTitledString(IDS_TITLE_FORMAT, caption));
            EXPECT_EQ(Utf8OfProgramText(caption), set.texts.caption);
            MessageBoxAnswerer boxes{IDOK};
            theApp.ShowTitledMessage(IDS_GAME_RUNNING, MB_OK | MB_ICONEXCLAMATION);
            ASSERT_EQ(boxes.Seen().size(), 1u);
            EXPECT_EQ(boxes.Seen()[0].shownText, set.texts.gameRunning);
            EXPECT_EQ(boxes.Seen()[0].shownCaption, "Corvath Plus");
        }
    }
}

// The bold title of the version dialog is a copy of the dialog's font: same face, weight 700. The
// Japanese and Traditional Chinese faces have no form in code page 1252, so the copy must be made
// through the wide description.
TEST_F(StringCodePageTest, VersionTitleIsTheSetsDialogFontInBold)
{
    for (size_t i = 0; i < std::size(kSets); ++i)
    {
        const SetModule& set = kSets[i];
        SCOPED_TRACE(std::string("set ") + set.texts.name);
        SetInForce inForce(m_hSets[i], MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        LOGFONTW dialogFont = {}, titleFont = {};
        std::string title;
        CVersionInfoDlg dlg;
        RunModal(dlg,
                 {[&](HWND hDlg)
                  {
                      HWND hTitle = GetDlgItem(hDlg, IDC_VERSION_TITLE);
                      GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(hDlg, WM_GETFONT, 0, 0)),
                                 sizeof(dialogFont), &dialogFont);
                      GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(hTitle, WM_GETFONT, 0, 0)),
                                 sizeof(titleFont), &titleFont);
                      title = TextReadWide(hTitle);
                  }});
        EXPECT_EQ(std::wstring(dialogFont.lfFaceName), set.faceName);
        EXPECT_EQ(Utf8Of(titleFont.lfFaceName, lstrlenW(titleFont.lfFaceName)),
                  Utf8Of(set.faceName, lstrlenW(set.faceName)));
        EXPECT_EQ(titleFont.lfWeight, FW_BOLD);
        EXPECT_EQ(titleFont.lfHeight, dialogFont.lfHeight);
        EXPECT_EQ(titleFont.lfCharSet, dialogFont.lfCharSet);
        EXPECT_EQ(title, set.texts.caption);
    }
}
} // namespace
