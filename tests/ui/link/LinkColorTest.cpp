// The link's colour choice as a table: every combination of visited, pressed and pointer on the
// text, each drawn as it is and under high contrast.
#include "ui/LinkColor.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Three colours told apart, and a high-contrast scheme's link colour.
const COLORREF kNormal = RGB(0, 0, 255);
const COLORREF kHover = RGB(255, 0, 0);
const COLORREF kVisited = RGB(128, 0, 128);
const LinkPalette kPalette = {kNormal, kHover, kVisited};
const COLORREF kHotLight = RGB(255, 255, 0);

TEST(LinkColorTest, VisitedWinsThenPressOrPointerAndHighContrastDrawsEveryStateInHotLight)
{
    struct Case
    {
        bool bVisited;
        bool bPressed;
        bool bPointerOnText;
        COLORREF expected;
    };
    const Case cases[] = {
        {false, false, false, kNormal}, {false, false, true, kHover},
        {false, true, false, kHover},   {false, true, true, kHover},
        {true, false, false, kVisited}, {true, false, true, kVisited},
        {true, true, false, kVisited},  {true, true, true, kVisited},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("visited " + std::to_string(c.bVisited) + ", pressed " +
                     std::to_string(c.bPressed) + ", pointer on text " +
                     std::to_string(c.bPointerOnText));
        const COLORREF crState = LinkStateColor(kPalette, c.bVisited, c.bPressed, c.bPointerOnText);
        EXPECT_EQ(crState, c.expected);
        EXPECT_EQ(LinkDrawnColor(crState, false, kHotLight), c.expected) << "drawn as it is";
        EXPECT_EQ(LinkDrawnColor(crState, true, kHotLight), kHotLight) << "under high contrast";
    }
}
} // namespace
