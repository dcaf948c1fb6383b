// A dialog that creates its controls itself from its template (CDialog::PlacesControls) gets the
// controls that the dialog manager makes from it: the same order, classes, styles, ids, texts,
// fonts and rectangles. Both forms of template are covered: the main dialog's (DIALOGEX in the
// Korean set, DIALOG in the others) and the version dialog's (DIALOG, with an icon named by
// number).
#include "framework/CDialog.h"
#include "res/resource.h"
#include "tests/support/ModalDialogRun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace
{
struct ControlFacts
{
    std::wstring className;
    LONG_PTR style;
    LONG_PTR exStyle;
    int nID;
    std::wstring text;
    RECT rect;
    std::wstring fontFace;
    LONG fontHeight;
};

std::wstring WideText(HWND hWnd)
{
    wchar_t szText[256] = {};
    SendMessageW(hWnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(szText));
    return szText;
}

ControlFacts FactsOf(HWND hDlg, HWND hControl)
{
    ControlFacts facts = {};
    wchar_t szClass[64] = {};
    GetClassNameW(hControl, szClass, 64);
    facts.className = szClass;
    facts.style = GetWindowLongPtrW(hControl, GWL_STYLE);
    facts.exStyle = GetWindowLongPtrW(hControl, GWL_EXSTYLE);
    facts.nID = GetDlgCtrlID(hControl);
    facts.text = WideText(hControl);
    GetWindowRect(hControl, &facts.rect);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&facts.rect), 2);
    LOGFONTW font = {};
    if (HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessageW(hControl, WM_GETFONT, 0, 0)))
        GetObjectW(hFont, sizeof(font), &font);
    facts.fontFace = font.lfFaceName;
    facts.fontHeight = font.lfHeight;
    return facts;
}

// The dialog's controls in z-order.
std::vector<ControlFacts> ControlsOf(HWND hDlg)
{
    std::vector<ControlFacts> controls;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        controls.push_back(FactsOf(hDlg, hChild));
    return controls;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A dialog that creates its controls itself and leaves them where the template puts them.
class SelfMadeDialog : public CDialog
{
public:
    explicit SelfMadeDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}

protected:
    BOOL PlacesControls() const override { return TRUE; }
};

class DialogControlsTest : public ::testing::TestWithParam<UINT>
{
};

TEST_P(DialogControlsTest, SelfMadeControlsAreTheDialogManagersOwn)
{
    HWND hPlain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(GetParam()),
                                     nullptr, &PlainDialogProc, 0);
    ASSERT_NE(hPlain, nullptr);
    const std::vector<ControlFacts> expected = ControlsOf(hPlain);
    DestroyWindow(hPlain);
    ASSERT_GT(expected.size(), 1u);

    SelfMadeDialog dialog(GetParam());
    std::vector<ControlFacts> actual;
    EXPECT_EQ(RunModal(dialog, {[&](HWND hDlg) { actual = ControlsOf(hDlg); }}), kLeftOpen);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(i);
        const ControlFacts& want = expected[i];
        const ControlFacts& got = actual[i];
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.nID, want.nID);
        EXPECT_TRUE(got.text == want.text);
        EXPECT_TRUE(EqualRect(&got.rect, &want.rect))
            << got.rect.left << "," << got.rect.top << "," << got.rect.right << ","
            << got.rect.bottom << " instead of " << want.rect.left << "," << want.rect.top << ","
            << want.rect.right << "," << want.rect.bottom;
        EXPECT_TRUE(got.fontFace == want.fontFace);
        EXPECT_EQ(got.fontHeight, want.fontHeight);
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogControlsTest,
                         ::testing::Values(IDD_STARTUP_SETTINGS, IDD_VERSION_INFO));
} // namespace
