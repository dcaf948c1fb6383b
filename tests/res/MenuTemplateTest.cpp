// Menu 129, the context menu of the link labels: a classic template with one popup holding the
// framework's copy command, in every language set.
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/ResourceReader.h"
#include "res/resource.h"

namespace
{
const WORD kCopyCommand = 57634;

struct MenuRow
{
    LanguageSet set;
    const char* itemText;
};

const MenuRow kMenus[] = {
    {kKorean, "URL 복사"},
    {kJapanese, "URLのコピー"},
    {kTraditionalChinese, "複製URL "},
};
} // namespace

class MenuTemplateTest : public ProgramResourcesTest
{
};

TEST_F(MenuTemplateTest, OnePopupHoldsTheCopyCommandInEverySet)
{
    for (const MenuRow& row : kMenus)
    {
        SCOPED_TRACE(row.set.name);
        std::vector<unsigned char> data = Load(kMenuType, IDR_LINK_CONTEXT_MENU, row.set.language);
        ResourceReader reader(data);
        EXPECT_EQ(reader.Word(), 0) << "version";
        EXPECT_EQ(reader.Word(), 0) << "header extension";

        EXPECT_EQ(reader.Word(), MF_POPUP | MF_END) << "popup flags";
        EXPECT_EQ(reader.String(), L"Context");

        EXPECT_EQ(reader.Word(), MF_END) << "item flags: last, enabled, not marked";
        EXPECT_EQ(reader.Word(), kCopyCommand);
        EXPECT_EQ(reader.String(), Utf16(row.itemText));
        EXPECT_TRUE(reader.AtEnd()) << "data after the menu";
    }
}
