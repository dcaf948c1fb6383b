// The pictures: banner 132 in every language set (one shared palette, different pixels), icon 128
// with its two images and cursor 130 with its one image, both under the Japanese language id.
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/ResourceReader.h"
#include "res/resource.h"

#include <cstring>

namespace
{
const LANGID kIconLanguage = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

const LONG kBannerWidth = 408;
const LONG kBannerHeight = 96;
const size_t kInfoHeaderSize = 40;
const size_t kPaletteSize = 256 * 4;
const size_t kBannerPixels = 408 * 96;
const size_t kBannerSize = kInfoHeaderSize + kPaletteSize + kBannerPixels; // 40,232

BITMAPINFOHEADER InfoHeader(const std::vector<unsigned char>& data, size_t offset = 0)
{
    BITMAPINFOHEADER header = {};
    if (data.size() >= offset + sizeof header)
        std::memcpy(&header, data.data() + offset, sizeof header);
    return header;
}

// The size of an icon or cursor image: header, palette, colour rows, then the AND mask rows.
size_t ImageSize(int width, int height, int bits)
{
    size_t colourRow = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    size_t maskRow = (static_cast<size_t>(width) + 31) / 32 * 4;
    return kInfoHeaderSize + (size_t{1} << bits) * 4 + (colourRow + maskRow) * height;
}

struct GroupEntry
{
    int width, height, colours, planes, bits;
    DWORD bytes;
    WORD id;
};

// Icon directory entries carry width, height and colour count as bytes; cursor ones carry width
// and height (twice the image's, mask included) as words.
std::vector<GroupEntry> ReadGroup(const std::vector<unsigned char>& data, WORD expectedType)
{
    ResourceReader reader(data);
    EXPECT_EQ(reader.Word(), 0) << "reserved";
    EXPECT_EQ(reader.Word(), expectedType);
    WORD count = reader.Word();
    std::vector<GroupEntry> entries;
    for (WORD i = 0; i < count && reader.Ok(); ++i)
    {
        GroupEntry entry{};
        if (expectedType == 1)
        {
            entry.width = reader.Byte();
            entry.height = reader.Byte();
            entry.colours = reader.Byte();
            reader.Byte();
        }
        else
        {
            entry.width = reader.Word();
            entry.height = reader.Word();
        }
        entry.planes = reader.Word();
        entry.bits = reader.Word();
        entry.bytes = reader.Dword();
        entry.id = reader.Word();
        entries.push_back(entry);
    }
    EXPECT_TRUE(reader.AtEnd()) << "group directory size";
    return entries;
}
} // namespace

class ImageResourceTest : public ProgramResourcesTest
{
};

TEST_F(ImageResourceTest, BannerOfEverySetIsAnUncompressed256ColourBitmap)
{
    for (const LanguageSet& set : kLanguageSets)
    {
        SCOPED_TRACE(set.name);
        std::vector<unsigned char> data = Load(kBitmapType, IDB_BANNER, set.language);
        EXPECT_EQ(data.size(), kBannerSize);
        BITMAPINFOHEADER header = InfoHeader(data);
        EXPECT_EQ(header.biSize, kInfoHeaderSize);
        EXPECT_EQ(header.biWidth, kBannerWidth);
        EXPECT_EQ(header.biHeight, kBannerHeight) << "positive: rows stored bottom-up";
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, 8);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(header.biSizeImage, kBannerPixels);
        EXPECT_EQ(header.biClrUsed, 0u) << "no colour count: a full palette of 256";
        EXPECT_EQ(header.biClrImportant, 0u);
    }
}

TEST_F(ImageResourceTest, BannersShareOnePaletteAndDifferInTheirPixels)
{
    std::vector<unsigned char> korean = Load(kBitmapType, IDB_BANNER, kKorean.language);
    ASSERT_EQ(korean.size(), kBannerSize);
    auto palette = [](const std::vector<unsigned char>& data)
    {
        return std::vector<unsigned char>(data.begin() + kInfoHeaderSize,
                                          data.begin() + kInfoHeaderSize + kPaletteSize);
    };
    auto pixels = [](const std::vector<unsigned char>& data) {
        return std::vector<unsigned char>(data.begin() + kInfoHeaderSize + kPaletteSize,
                                          data.end());
    };

    for (const LanguageSet& set : {kJapanese, kTraditionalChinese})
    {
        SCOPED_TRACE(set.name);
        std::vector<unsigned char> other = Load(kBitmapType, IDB_BANNER, set.language);
        ASSERT_EQ(other.size(), kBannerSize);
        EXPECT_TRUE(palette(other) == palette(korean)) << "palette differs from the Korean one";
        EXPECT_FALSE(pixels(other) == pixels(korean)) << "same picture as the Korean one";
    }
    std::vector<unsigned char> japanese = Load(kBitmapType, IDB_BANNER, kJapanese.language);
    std::vector<unsigned char> chinese =
        Load(kBitmapType, IDB_BANNER, kTraditionalChinese.language);
    ASSERT_EQ(japanese.size(), chinese.size());
    EXPECT_FALSE(pixels(japanese) == pixels(chinese));
}

TEST_F(ImageResourceTest, IconGroupHoldsImage1At16AndImage2At32With256Colours)
{
    std::vector<GroupEntry> entries = ReadGroup(Load(kIconGroupType, IDI_APP, kIconLanguage), 1);
    ASSERT_EQ(entries.size(), 2u);
    const int sizes[] = {16, 32};
    for (size_t i = 0; i < entries.size(); ++i)
    {
        const GroupEntry& entry = entries[i];
        int size = sizes[i];
        SCOPED_TRACE(::testing::Message() << "icon image " << i + 1);
        EXPECT_EQ(entry.id, i + 1);
        EXPECT_EQ(entry.width, size);
        EXPECT_EQ(entry.height, size);
        EXPECT_EQ(entry.colours, 0) << "256 colours are written as 0";
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bits, 8);

        std::vector<unsigned char> image = Load(kIconType, entry.id, kIconLanguage);
        EXPECT_EQ(entry.bytes, image.size()) << "group entry and image disagree";
        EXPECT_EQ(image.size(), ImageSize(size, size, 8)) << "8-bit image with an AND mask";
        BITMAPINFOHEADER header = InfoHeader(image);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size) << "colour rows and mask rows";
        EXPECT_EQ(header.biBitCount, 8);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    }
}

TEST_F(ImageResourceTest, PlatformPicksTheIconImageForEachSize)
{
    std::vector<unsigned char> group = Load(kIconGroupType, IDI_APP, kIconLanguage);
    ASSERT_FALSE(group.empty());
    EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, LR_DEFAULTCOLOR), 1);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, LR_DEFAULTCOLOR), 2);
}

TEST_F(ImageResourceTest, CursorIsImage3AMonochromeHandWithItsFingertipAtTheHotSpot)
{
    std::vector<GroupEntry> entries =
        ReadGroup(Load(kCursorGroupType, IDC_LINK_HAND, kIconLanguage), 2);
    ASSERT_EQ(entries.size(), 1u);
    const GroupEntry& entry = entries[0];
    EXPECT_EQ(entry.id, 3);
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 64);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bits, 1);

    std::vector<unsigned char> image = Load(kCursorType, 3, kIconLanguage);
    EXPECT_EQ(entry.bytes, image.size()) << "group entry and image disagree";
    ASSERT_EQ(image.size(), 4 + ImageSize(32, 32, 1)) << "hot spot, then a 1-bit image and mask";
    ResourceReader reader(image);
    EXPECT_EQ(reader.Word(), 6) << "hot spot x";
    EXPECT_EQ(reader.Word(), 0) << "hot spot y";
    BITMAPINFOHEADER header = InfoHeader(image, 4);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, 1);
    const unsigned char blackThenWhite[8] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    EXPECT_EQ(std::memcmp(image.data() + 4 + kInfoHeaderSize, blackThenWhite, 8), 0)
        << "two-colour palette: black, white";

    // The mask rows follow the colour rows, bottom-up: the top row of the picture is the last one.
    // A clear mask bit is an opaque pixel: the fingertip must be drawn at the hot spot.
    size_t maskTopRow = 4 + kInfoHeaderSize + 8 + 32 * 4 + 31 * 4;
    EXPECT_EQ(image[maskTopRow] & (0x80 >> 6), 0) << "pixel (6, 0) is transparent";
}

TEST_F(ImageResourceTest, PlatformMakesACursorWithHotSpot6And0)
{
    std::vector<unsigned char> image = Load(kCursorType, 3, kIconLanguage);
    ASSERT_FALSE(image.empty());
    HICON cursor = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), FALSE,
                                            0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
}
