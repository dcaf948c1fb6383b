// Opening and closing the dialogs many times in one process leaves nothing behind: GDI objects,
// USER objects and kernel handles stay flat (a small constant at most, for caches the system
// fills on first use).
#include "app/CSettingsApp.h"
#include "res/resource.h"
#include "support/ModalDialogRun.h"
#include "support/ObjectCounts.h"
#include "support/ScratchCurrentUser.h"
#include "support/ScratchKey.h"
#include "ui/CStartupSettingsDlg.h"
#include "ui/CVersionInfoDlg.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();
const int kRounds = 200;
const DWORD kSlack = 8;

// One opening and closing of a dialog, as the user makes it.
struct DialogRound
{
    const char* name;
    void (*openAndClose)();
};

void PrintTo(const DialogRound& round, std::ostream* os)
{
    *os << round.name;
}

const DialogRound kDialogRounds[] = {
    // Constructed, run and destroyed.
    {"MainDialog",
     []
     {
         CStartupSettingsDlg dlg;
         RunModal(dlg, {[](HWND hDialog) { PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0); }});
     }},
    // Each opening attaches two link labels (timers, an underlined font each) and makes a bold
    // font.
    {"VersionDialog",
     []
     {
         CVersionInfoDlg dlg;
         RunModal(dlg, {[](HWND hDialog)
                        {
                            // Let the labels paint (which makes their underlined fonts) before
                            // closing.
                            RedrawWindow(hDialog, nullptr, nullptr,
                                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                            PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
                        }});
     }},
};

// The main dialog reads a stored explicit proxy, so that every field has something to show.
class LeakTest : public ::testing::TestWithParam<DialogRound>
{
protected:
    void SetUp() override
    {
        theApp.ApplyIdentity();
        key.WriteDword("Login", "UseProxy", 3);
        key.WriteSz("Login", "ProxyServer", "proxy:8080");
    }
    ScratchKey key{kAppKey};
};

TEST_P(LeakTest, OpeningManyTimesLeavesTheObjectCountsFlat)
{
    const DialogRound& round = GetParam();
    // Warm-up: the first opening loads fonts, classes and the like for good.
    round.openAndClose();
    round.openAndClose();
    const ObjectCounts before = ObjectCounts::Now();
    for (int i = 0; i < kRounds; ++i)
        round.openAndClose();
    const ObjectCounts after = ObjectCounts::Now();

    EXPECT_LE(after.gdi, before.gdi + kSlack) << "GDI before " << before.gdi;
    EXPECT_LE(after.user, before.user + kSlack) << "USER before " << before.user;
    EXPECT_LE(after.handles, before.handles + kSlack) << "handles before " << before.handles;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, LeakTest, ::testing::ValuesIn(kDialogRounds),
                         [](const ::testing::TestParamInfo<DialogRound>& info)
                         { return std::string(info.param.name); });

// The probes themselves must see a leak, or a flat count proves nothing.
TEST(Leaks, TheCountsSeeLeftBehindObjects)
{
    const ObjectCounts before = ObjectCounts::Now();
    HBRUSH brushes[20];
    HWND windows[20];
    HANDLE events[20];
    for (int i = 0; i < 20; ++i)
    {
        brushes[i] = CreateSolidBrush(RGB(i, 0, 0));
        windows[i] = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        events[i] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    const ObjectCounts during = ObjectCounts::Now();
    for (int i = 0; i < 20; ++i)
    {
        DeleteObject(brushes[i]);
        DestroyWindow(windows[i]);
        CloseHandle(events[i]);
    }
    EXPECT_GE(during.gdi, before.gdi + 20);
    EXPECT_GE(during.user, before.user + 20);
    EXPECT_GE(during.handles, before.handles + 20);
}
} // namespace
