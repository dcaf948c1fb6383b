// The facts that the code spells once and the language sets must carry as well, read back from the
// built program: the product title (the application name, the main dialog's caption, the version
// dialog's title line and the version record's names), the version line, and the two addresses
// that the code shows in every set and the Korean template holds.
#include "app/AppIdentity.h"
#include "framework/FrameworkIds.h"
#include "res/DialogTemplate.h"
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/ResourceReader.h"
#include "res/VersionNode.h"
#include "res/product.h"
#include "res/resource.h"
#include "res/version.h"

namespace
{
const std::wstring kTitle = Utf16(kProductTitle);

class ProductFactsTest : public ProgramResourcesTest
{
protected:
    // String nID of one set, read from its block of sixteen length-prefixed entries.
    static std::wstring StringOf(WORD nID, LANGID language)
    {
        const std::vector<unsigned char> block =
            Load(kStringType, static_cast<WORD>(nID / 16 + 1), language);
        ResourceReader reader(block); // reads the block in place
        for (int index = 0; index < nID % 16; ++index)
            reader.Units(reader.Word());
        return reader.Units(reader.Word());
    }

    static DialogTemplate DialogOf(WORD nID, LANGID language)
    {
        DialogTemplate dialog;
        EXPECT_TRUE(ParseDialogTemplate(Load(kDialogType, nID, language), &dialog));
        return dialog;
    }

    // The text of control nID of a template, or "<none>" when the template has no such control.
    static std::wstring ItemText(const DialogTemplate& dialog, DWORD nID)
    {
        for (const DialogItem& item : dialog.items)
        {
            if (item.id == nID)
                return item.text.name;
        }
        return L"<none>";
    }

    // The text value `key` of the version record's one string table.
    static std::wstring VersionValue(LANGID language, const wchar_t* key)
    {
        VersionNode root;
        EXPECT_TRUE(ParseVersionNode(Load(kVersionType, 1, language), &root));
        const VersionNode* strings = root.Child(L"StringFileInfo");
        if (strings == nullptr || strings->children.empty())
            return L"<no string table>";
        const VersionNode* value = strings->children[0].Child(key);
        return value != nullptr ? value->text : L"<none>";
    }
};

TEST_F(ProductFactsTest, EverySetCarriesTheProductTitleOfTheCode)
{
    for (const LanguageSet& set : kLanguageSets)
    {
        SCOPED_TRACE(set.name);
        EXPECT_EQ(StringOf(AFX_IDS_APP_TITLE, set.language), kTitle) << "the application name";
        const std::wstring framed = L"\u300E" + kTitle + L"\u300F";
        EXPECT_EQ(DialogOf(IDD_STARTUP_SETTINGS, set.language).caption.find(framed), 0u)
            << "the main dialog's caption";
        EXPECT_EQ(
            ItemText(DialogOf(IDD_VERSION_INFO, set.language), IDC_VERSION_TITLE).find(framed), 0u)
            << "the version dialog's title line";
        for (const wchar_t* key : {L"Comments", L"FileDescription", L"ProductName"})
        {
            SCOPED_TRACE(Describe(NameOrOrdinal::Name(key)));
            EXPECT_EQ(VersionValue(set.language, key), kTitle);
        }
    }
}

TEST_F(ProductFactsTest, EverySetsVersionDialogHoldsTheVersionLineOfTheCode)
{
    for (const LanguageSet& set : kLanguageSets)
    {
        SCOPED_TRACE(set.name);
        EXPECT_EQ(ItemText(DialogOf(IDD_VERSION_INFO, set.language), IDC_VERSION_LINE),
                  Utf16(STARTUP_VERSION_LINE));
    }
}

// The other sets hold addresses of their own, which their labels open; the code shows these two
// in every set.
TEST_F(ProductFactsTest, TheKoreanTemplateHoldsTheAddressesOfTheCode)
{
    const DialogTemplate dialog = DialogOf(IDD_VERSION_INFO, kKorean.language);
    EXPECT_EQ(ItemText(dialog, IDC_LINK_HOMEPAGE), Utf16(STARTUP_HOME_PAGE_ADDRESS));
    EXPECT_EQ(ItemText(dialog, IDC_LINK_COMMUNITY), Utf16(STARTUP_COMMUNITY_ADDRESS));
}
} // namespace
