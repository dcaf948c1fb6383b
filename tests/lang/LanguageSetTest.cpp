// Run once per user language (ctest sets LC_ALL and STARTUP_EXPECTED_SET): the program's own
// resources answer in the matching set, and string resources arrive in that set's code page. A
// language outside the three gets the Korean set.
#include "app/CSettingsApp.h"
#include "app/LanguageChoice.h"
#include "res/resource.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <algorithm>
#include <string>

namespace
{
struct LanguageSet
{
    const char* name;
    UINT codePage;
    const char* captionUtf8;
    const char* gameRunningUtf8;
    const char* versionItemUtf8;
};

const LanguageSet kSets[] = {
    {"ko", 949, "『Corvath Plus』 기동환경 설정",
     "『Corvath Plus』본체를 기동시키고 있는 경우에는 설정을 변경할 수 없습니다.",
     "버전정보(&A)..."},
    {"ja", 932, "『Corvath Plus』 起動環境設定",
     "『Corvath Plus』本体が起動している場合は、\n設定の変更は出来ません", "バージョン情報(&A)..."},
    {"zh-TW", 950, "『Corvath Plus』啟動環境設定",
     "『Corvath Plus』本身如果啟動的話，\n無法變更設定", "版本情報(&A)..."},
};

const LanguageSet& ExpectedSet()
{
    const char* name = getenv("STARTUP_EXPECTED_SET");
    for (const LanguageSet& set : kSets)
    {
        if (name != nullptr && std::string(name) == set.name)
            return set;
    }
    return kSets[0];
}

class LanguageSetTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ChooseLanguageSet();
        theApp.ApplyIdentity();
    }
    const LanguageSet& set = ExpectedSet();
};

TEST_F(LanguageSetTest, CaptionIsTheSetsTitleWithTheProductTitleInItsCodePage)
{
    CString caption;
    ASSERT_TRUE(theApp.FormatTitledString(IDS_TITLE_FORMAT, caption));
    EXPECT_EQ(std::string(caption), InCodePage(set.captionUtf8, set.codePage)) << set.name;
}

TEST_F(LanguageSetTest, GameRunningMessageHasOneLineInKoreanAndTwoElsewhere)
{
    CString message;
    ASSERT_TRUE(theApp.FormatTitledString(IDS_GAME_RUNNING, message));
    EXPECT_EQ(std::string(message), InCodePage(set.gameRunningUtf8, set.codePage));
    const std::string text = message.GetString();
    const size_t lineFeeds = std::count(text.begin(), text.end(), '\n');
    EXPECT_EQ(lineFeeds, std::string(set.name) == "ko" ? 0u : 1u);
}

TEST_F(LanguageSetTest, VersionMenuItemComesFromTheSameSet)
{
    CString item;
    ASSERT_TRUE(item.LoadString(IDS_VERSION_MENU_ITEM));
    EXPECT_EQ(std::string(item), InCodePage(set.versionItemUtf8, set.codePage));
}

TEST_F(LanguageSetTest, TheDialogTemplateOfTheSetIsTheOneFound)
{
    // The template's caption is the set's title, stored in the template itself.
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_STARTUP_SETTINGS), RT_DIALOG);
    ASSERT_NE(resource, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
    const DWORD size = SizeofResource(nullptr, resource);
    std::wstring expected;
    wchar_t wide[128] = {};
    MultiByteToWideChar(CP_UTF8, 0, set.captionUtf8, -1, wide, 128);
    expected = wide;
    const std::wstring all(reinterpret_cast<const wchar_t*>(bytes), size / sizeof(wchar_t));
    EXPECT_NE(all.find(expected), std::wstring::npos) << set.name;
}
} // namespace
