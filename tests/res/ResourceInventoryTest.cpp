// The resource directory of the built program: which types, ids and languages exist, and the
// string tables block by block.
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/ResourceReader.h"
#include "res/resource.h"

#include <algorithm>
#include <map>
#include <set>

namespace
{
const LANGID kIconLanguage = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::string Entry(LPCWSTR type, WORD id, LANGID language)
{
    return DescribeEntry(type, MAKEINTRESOURCEW(id), language);
}

WORD StringBlock(WORD id)
{
    return static_cast<WORD>(id / 16 + 1);
}

std::set<std::string> ExpectedInventory()
{
    std::set<std::string> expected;
    for (const LanguageSet& set : kLanguageSets)
    {
        for (WORD dialog : {IDD_STARTUP_SETTINGS, IDD_VERSION_INFO})
            expected.insert(Entry(kDialogType, dialog, set.language));
        for (WORD id : {IDS_VERSION_MENU_ITEM, IDS_TITLE_FORMAT, IDS_GAME_RUNNING, IDS_APP_TITLE,
                        IDP_PARSE_INT_RANGE, IDP_PARSE_UINT, IDS_SAVE_FAILED, IDS_UNSTORABLE_TEXT,
                        IDS_COLON_IN_HOST, IDS_NO_PROXY_HOST, IDS_LINK_DEFAULT_ACTION})
            expected.insert(Entry(kStringType, StringBlock(id), set.language));
        expected.insert(Entry(kMenuType, IDR_LINK_CONTEXT_MENU, set.language));
        expected.insert(Entry(kBitmapType, IDB_BANNER, set.language));
        expected.insert(Entry(kVersionType, 1, set.language));
    }
    // Icon 128 with its images 1 and 2, cursor 130 with its image 3: Japanese only.
    expected.insert(Entry(kIconGroupType, IDI_APP, kIconLanguage));
    expected.insert(Entry(kIconType, 1, kIconLanguage));
    expected.insert(Entry(kIconType, 2, kIconLanguage));
    expected.insert(Entry(kCursorGroupType, IDC_LINK_HAND, kIconLanguage));
    expected.insert(Entry(kCursorType, 3, kIconLanguage));
    // The application manifest: type 24, id 1, language neutral.
    expected.insert(Entry(MAKEINTRESOURCEW(24), 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
    return expected;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

// The sixteen entries of one string block; false unless the lengths add up to the block's size.
bool ReadStringBlock(const std::vector<unsigned char>& data, std::wstring (&entries)[16])
{
    ResourceReader reader(data);
    for (std::wstring& entry : entries)
        entry = reader.Units(reader.Word());
    return reader.AtEnd();
}

using StringSet = std::map<WORD, const char*>;

// Every program string with the two validation prompts of the framework, per language set.
const std::pair<LanguageSet, StringSet> kStrings[] = {
    {kKorean,
     {{101, "버전정보(&A)..."},
      {128, "『%s』 기동환경 설정"},
      {10000, "『%s』본체를 기동시키고 있는 경우에는 설정을 변경할 수 없습니다."},
      {10016, "설정을 저장하지 못했습니다. 레지스트리에 쓸 권한이 있는지 확인하십시오."},
      {10017, "이 시스템에서 저장할 수 없는 문자가 포함되어 있습니다. 다른 문자로 입력하십시오."},
      {10018, "IP 주소에는 ':'를 쓸 수 없습니다. 포트 번호는 포트 칸에 입력하십시오."},
      {10019, "프록시 서버의 IP 주소를 입력하십시오."},
      {10020, "이동"},
      {57344, "Corvath Plus"},
      {61714, "%1에서 %2 사이의 정수를 입력하십시오."},
      {61719, "양의 정수를 입력하십시오."}}},
    {kJapanese,
     {{101, "バージョン情報(&A)..."},
      {128, "『%s』 起動環境設定"},
      {10000, "『%s』本体が起動している場合は、\n設定の変更は出来ません"},
      {10016, "設定を保存できませんでした。レジストリへの書き込み権限があるか確認してください。"},
      {10017, "このシステムでは保存できない文字が含まれています。別の文字で入力してください。"},
      {10018, "IPアドレスに ':' は使えません。ポート番号はポート欄に入力してください。"},
      {10019, "プロキシサーバーのIPアドレスを入力してください。"},
      {10020, "ジャンプ"},
      {57344, "Corvath Plus"},
      {61714, "%1 から %2 までの整数を入力してください。"},
      {61719, "正の整数を入力してください。"}}},
    {kTraditionalChinese,
     {{101, "版本情報(&A)..."},
      {128, "『%s』啟動環境設定"},
      {10000, "『%s』本身如果啟動的話，\n無法變更設定"},
      {10016, "無法儲存設定。請確認您是否有寫入登錄檔的權限。"},
      {10017, "含有此系統無法儲存的字元，請改用其他字元輸入。"},
      {10018, "IP 位址不可包含 ':'。請在連接埠欄位輸入連接埠號碼。"},
      {10019, "請輸入 Proxy 伺服器的 IP 位址。"},
      {10020, "跳至"},
      {57344, "Corvath Plus"},
      {61714, "請輸入介於 %1 和 %2 之間的整數。"},
      {61719, "請輸入正整數。"}}},
};
} // namespace

class ResourceInventoryTest : public ProgramResourcesTest
{
};

TEST_F(ResourceInventoryTest, HoldsEveryResourceInItsLanguagesAndNothingElse)
{
    std::vector<std::string> present = Program().Inventory();
    std::set<std::string> expected = ExpectedInventory();

    std::vector<std::string> missing;
    std::vector<std::string> unexpected;
    std::set<std::string> seen(present.begin(), present.end());
    std::set_difference(expected.begin(), expected.end(), seen.begin(), seen.end(),
                        std::back_inserter(missing));
    std::set_difference(seen.begin(), seen.end(), expected.begin(), expected.end(),
                        std::back_inserter(unexpected));
    EXPECT_TRUE(missing.empty()) << "missing:" << Join(missing);
    EXPECT_TRUE(unexpected.empty()) << "unexpected:" << Join(unexpected);
    EXPECT_EQ(present.size(), seen.size()) << "some resource is listed twice";
}

TEST_F(ResourceInventoryTest, IconAndCursorAreFoundWithoutNamingALanguage)
{
    // They exist in Japanese only and must still serve every language set.
    HMODULE module = Program().Handle();
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), kIconGroupType), nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDC_LINK_HAND), kCursorGroupType), nullptr);
}

TEST_F(ResourceInventoryTest, EachStringIsTheOnlyEntryOfItsBlock)
{
    for (const auto& [set, strings] : kStrings)
    {
        // Blocks of sixteen: the framework's two prompts share one, and so do the four messages
        // of a confirm that cannot save with the name of a link's default action (block 627); every
        // other string has its own.
        std::map<WORD, std::map<WORD, const char*>> blocks;
        for (const auto& [id, text] : strings)
            blocks[StringBlock(id)][id % 16] = text;

        for (const auto& [block, entries] : blocks)
        {
            SCOPED_TRACE(std::string(set.name) + ", string block " + std::to_string(block));
            std::vector<unsigned char> data = Load(kStringType, block, set.language);
            std::wstring stored[16];
            ASSERT_TRUE(ReadStringBlock(data, stored)) << "entry lengths do not fill the block";
            for (WORD index = 0; index < 16; ++index)
            {
                SCOPED_TRACE("string " + std::to_string((block - 1) * 16 + index));
                auto wanted = entries.find(index);
                if (wanted == entries.end())
                    EXPECT_TRUE(stored[index].empty()) << "unexpected string";
                else
                    EXPECT_EQ(stored[index], Utf16(wanted->second));
            }
        }
    }
}
