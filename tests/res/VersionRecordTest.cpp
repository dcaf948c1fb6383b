// The version record of every language set: its fixed part, its one string table and the
// translation entry that names the same language and code page.
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/VersionNode.h"

#include <cstring>
#include <utility>

namespace
{
const WORD kVersionRecord = 1;
const WORD kUtf16CodePage = 1200;

struct VersionRow
{
    LanguageSet set;
    const wchar_t* tableKey;
};

const VersionRow kRecords[] = {
    {kKorean, L"041204b0"},
    {kJapanese, L"041104b0"},
    {kTraditionalChinese, L"040404b0"},
};

// The nine values, in their order.
const std::pair<const wchar_t*, const char*> kValues[] = {
    {L"Comments", "Corvath Plus"},
    {L"CompanyName", "Orvane Co., Ltd."},
    {L"FileDescription", "Corvath Plus"},
    {L"FileVersion", "1, 0, 0, 0"},
    {L"InternalName", "StartupSettings"},
    {L"LegalCopyright", "Copyright (C) 2004 Orvane Co., Ltd."},
    {L"OriginalFilename", "StartupSettings.exe"},
    {L"ProductName", "Corvath Plus"},
    {L"ProductVersion", "1, 0, 0, 0"},
};

void ExpectFixedPart(const VersionNode& root)
{
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u) << "file version 1.0.0.0";
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u) << "product version 1.0.0.0";
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS, 0u);
    EXPECT_EQ(fixed.dwFileDateLS, 0u);
}

void ExpectStringTable(const VersionNode& root, const VersionRow& row)
{
    const VersionNode* strings = root.Child(L"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u) << "one string table";
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(table.key, row.tableKey);
    ASSERT_EQ(table.children.size(), std::size(kValues));
    for (size_t i = 0; i < std::size(kValues); ++i)
    {
        const VersionNode& value = table.children[i];
        EXPECT_EQ(value.key, kValues[i].first) << "value " << i + 1;
        EXPECT_EQ(value.type, 1) << "value " << i + 1 << " is text";
        EXPECT_EQ(value.text, Utf16(kValues[i].second)) << "value " << i + 1;
    }
}

void ExpectTranslation(const VersionNode& root, const VersionRow& row)
{
    const VersionNode* variables = root.Child(L"VarFileInfo");
    ASSERT_NE(variables, nullptr);
    ASSERT_EQ(variables->children.size(), 1u);
    const VersionNode& translation = variables->children[0];
    EXPECT_EQ(translation.key, L"Translation");
    ASSERT_EQ(translation.value.size(), 4u) << "one language and code page pair";
    WORD pair[2];
    std::memcpy(pair, translation.value.data(), sizeof pair);
    EXPECT_EQ(pair[0], row.set.language);
    EXPECT_EQ(pair[1], kUtf16CodePage);
}
} // namespace

class VersionRecordTest : public ProgramResourcesTest
{
};

TEST_F(VersionRecordTest, FixedPartStringTableAndTranslationInEverySet)
{
    for (const VersionRow& row : kRecords)
    {
        SCOPED_TRACE(row.set.name);
        VersionNode root;
        ASSERT_TRUE(ParseVersionNode(Load(kVersionType, kVersionRecord, row.set.language), &root))
            << "the record does not parse";
        ExpectFixedPart(root);
        EXPECT_EQ(root.children.size(), 2u) << "StringFileInfo and VarFileInfo only";
        ExpectStringTable(root, row);
        ExpectTranslation(root, row);
    }
}

// What the platform itself reads from each record, through the same path as a file's properties.
TEST_F(VersionRecordTest, PlatformReadsTheProductNameOfEverySet)
{
    for (const VersionRow& row : kRecords)
    {
        SCOPED_TRACE(row.set.name);
        std::vector<unsigned char> data = Load(kVersionType, kVersionRecord, row.set.language);
        // VerQueryValue may write into the block it reads; give it a copy with room to spare.
        data.resize(data.size() * 2);
        std::wstring path = std::wstring(L"\\StringFileInfo\\") + row.tableKey + L"\\ProductName";
        void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), path.c_str(), &value, &length));
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"Corvath Plus");
    }
}
