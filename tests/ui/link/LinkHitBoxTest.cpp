// The link label's text box: the arithmetic from client rectangle, text size and static style,
// and the character walk that measures the text. The walk is tested with a fake measure and a
// lead-byte test fixed to code page 949 (IsDBCSLeadByteEx), so the cases do not depend on the
// code page this process happens to run in; the label tests run the real walk with
// IsDBCSLeadByte under a Korean locale.
#include "ui/LinkHitBox.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

namespace
{
std::string RectText(const RECT& rc)
{
    char text[64];
    snprintf(text, sizeof(text), "(%ld, %ld, %ld, %ld)", static_cast<long>(rc.left),
             static_cast<long>(rc.top), static_cast<long>(rc.right), static_cast<long>(rc.bottom));
    return text;
}

TEST(LinkTextBoxTest, NarrowsTheClientRectangleByAlignmentAndVerticalCentring)
{
    struct Case
    {
        const char* name;
        DWORD style;
        RECT client;
        SIZE text;
        RECT expected;
    };
    const RECT client = {0, 0, 100, 20};
    const Case cases[] = {
        {"left", SS_LEFT, client, {40, 13}, {0, 0, 40, 13}},
        {"centre, odd space rounds down", SS_CENTER, client, {41, 13}, {29, 0, 70, 13}},
        {"right", SS_RIGHT, client, {40, 13}, {60, 0, 100, 13}},
        {"left, centred vertically", SS_LEFT | SS_CENTERIMAGE, client, {40, 13}, {0, 3, 40, 16}},
        {"centre, centred vertically",
         SS_CENTER | SS_CENTERIMAGE,
         client,
         {41, 13},
         {29, 3, 70, 16}},
        {"right, centred vertically",
         SS_RIGHT | SS_CENTERIMAGE,
         client,
         {40, 14},
         {60, 3, 100, 17}},
        {"left, wider than the window", SS_LEFT, client, {150, 13}, {0, 0, 100, 13}},
        {"centre, wider than the window", SS_CENTER, client, {150, 13}, {0, 0, 100, 13}},
        {"right, wider than the window", SS_RIGHT, client, {150, 13}, {0, 0, 100, 13}},
        {"wider, centred vertically",
         SS_CENTER | SS_CENTERIMAGE,
         client,
         {150, 13},
         {0, 3, 100, 16}},
        {"taller than the window", SS_LEFT, client, {40, 30}, {0, 0, 40, 20}},
        {"taller, centred vertically", SS_LEFT | SS_CENTERIMAGE, client, {40, 30}, {0, 0, 40, 20}},
        {"exactly as wide, centred", SS_CENTER, client, {100, 13}, {0, 0, 100, 13}},
        {"icon type measures as left", SS_ICON, client, {40, 13}, {0, 0, 40, 13}},
        {"no-wrap type measures as left", SS_LEFTNOWORDWRAP, client, {40, 13}, {0, 0, 40, 13}},
        {"simple type measures as left", SS_SIMPLE, client, {40, 13}, {0, 0, 40, 13}},
        {"empty text is an empty box", SS_LEFT, client, {0, 0}, {0, 0, 0, 0}},
        {"offset rectangle, right", SS_RIGHT, {10, 5, 110, 25}, {40, 13}, {70, 5, 110, 18}},
        {"offset rectangle, centred both ways",
         SS_CENTER | SS_CENTERIMAGE,
         {10, 5, 110, 25},
         {41, 13},
         {39, 8, 80, 21}},
        {"other style bits do not matter",
         SS_RIGHT | SS_NOTIFY | SS_NOPREFIX | WS_GROUP,
         client,
         {40, 13},
         {60, 0, 100, 13}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const RECT box = LinkTextBox(c.client, c.text, c.style);
        EXPECT_EQ(RectText(box), RectText(c.expected));
    }
}

TEST(LinkTextBoxTest, TheBoxTakesItsLeftAndTopEdgesButNotItsRightAndBottom)
{
    const RECT box = LinkTextBox({0, 0, 100, 20}, {40, 13}, SS_LEFT);
    EXPECT_TRUE(PtInRect(&box, {0, 0}));
    EXPECT_TRUE(PtInRect(&box, {39, 12}));
    EXPECT_FALSE(PtInRect(&box, {40, 0}));
    EXPECT_FALSE(PtInRect(&box, {0, 13}));
}

// A measure that records what it was asked and answers width 10 per byte, with the height given
// per call, so that the sums and the maximum show.
struct FakeMeasure
{
    const char* text;
    std::vector<std::pair<int, int>> calls; // offset and byte count of each measured character
    std::vector<int> heights;               // answered in turn; 0 once used up

    static SIZE Measure(void* pContext, const char* pch, int cch)
    {
        auto* self = static_cast<FakeMeasure*>(pContext);
        const size_t index = self->calls.size();
        self->calls.emplace_back(static_cast<int>(pch - self->text), cch);
        return SIZE{10 * cch, index < self->heights.size() ? self->heights[index] : 0};
    }
};

BOOL WINAPI IsKoreanLeadByte(BYTE b)
{
    return IsDBCSLeadByteEx(949, b);
}

TEST(MeasureLinkTextTest, MeasuresEachCharacterAloneWithDoubleByteCharactersAsOne)
{
    ASSERT_TRUE(IsValidCodePage(949));
    struct Case
    {
        const char* name;
        const char* text;
        std::vector<std::pair<int, int>> calls;
    };
    const Case cases[] = {
        {"plain text, one byte each",
         "http://",
         {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
        // "가" is B0 A1, "나" is B3 AA in code page 949.
        {"Hangul between letters",
         "a\xB0\xA1"
         "b",
         {{0, 1}, {1, 2}, {3, 1}}},
        {"Hangul only", "\xB0\xA1\xB3\xAA", {{0, 2}, {2, 2}}},
        {"a trail byte that could lead is not tested again", "\xB0\xB0\xB0\xA1", {{0, 2}, {2, 2}}},
        {"an ASCII trail byte of the extended range",
         "\x81\x41"
         "a",
         {{0, 2}, {2, 1}}},
        {"a lone lead byte at the end is measured alone", "ab\xB0", {{0, 1}, {1, 1}, {2, 1}}},
        {"a lone lead byte is the whole text", "\xB0", {{0, 1}}},
        {"empty text measures nothing", "", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        FakeMeasure fake{c.text, {}, {}};
        const SIZE size = MeasureLinkText(c.text, &FakeMeasure::Measure, &fake, &IsKoreanLeadByte);
        EXPECT_EQ(fake.calls, c.calls);
        EXPECT_EQ(size.cx, 10 * static_cast<LONG>(strlen(c.text)));
    }
}

TEST(MeasureLinkTextTest, WidthIsTheSumAndHeightTheTallestCharacter)
{
    const char text[] = "abcd";
    FakeMeasure fake{text, {}, {12, 17, 9, 15}};
    const SIZE size = MeasureLinkText(text, &FakeMeasure::Measure, &fake, &IsKoreanLeadByte);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 17);
}

// The text ends exactly at the end of readable memory: any read past its terminating zero byte
// faults, which ends the test program (exit code 5) instead of passing.
TEST(MeasureLinkTextTest, NeverReadsPastTheTerminatingZeroAfterALoneLeadByte)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const SIZE_T page = info.dwPageSize;
    char* pages = static_cast<char*>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD oldProtect = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &oldProtect));

    for (const char* tail : {"\xB0", "a\xB0", "\xB0\xA1\xB0", "a"})
    {
        SCOPED_TRACE(testing::PrintToString(tail));
        const size_t cb = strlen(tail) + 1;
        char* text = pages + page - cb;
        memcpy(text, tail, cb);
        FakeMeasure fake{text, {}, {}};
        const SIZE size = MeasureLinkText(text, &FakeMeasure::Measure, &fake, &IsKoreanLeadByte);
        EXPECT_EQ(size.cx, 10 * static_cast<LONG>(cb - 1));
        ASSERT_FALSE(fake.calls.empty());
        EXPECT_EQ(fake.calls.back().first + fake.calls.back().second, static_cast<int>(cb - 1));
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}

// Through a real device context the summed characters of a plain text come to what the font
// gives the whole text at once.
TEST(MeasureLinkTextTest, MeasuringWithADeviceContextSumsTheFontsWidths)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    ASSERT_NE(hdc, nullptr);
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfUnderline = 1;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    HFONT hFont = CreateFontIndirectA(&lf);
    HGDIOBJ hOld = SelectObject(hdc, hFont);

    const char text[] = "http://kr.orvane.example/";
    SIZE whole = {};
    ASSERT_TRUE(GetTextExtentPoint32A(hdc, text, lstrlenA(text), &whole));
    const SIZE summed = MeasureLinkText(text, &MeasureWithDC, hdc);
    EXPECT_EQ(summed.cx, whole.cx);
    EXPECT_EQ(summed.cy, whole.cy);
    EXPECT_GT(summed.cx, 0);

    SelectObject(hdc, hOld);
    DeleteObject(hFont);
    DeleteDC(hdc);
}
} // namespace
