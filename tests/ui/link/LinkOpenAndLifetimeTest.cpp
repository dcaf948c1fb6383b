// The link label's open as the shell asks for it (COM entered on the opening thread, lazily) and
// its hover timer's lifetime when the label object goes before its window. Real statics of the
// version dialog's template, the http scheme of the private prefix going to a recorder.
#include "framework/CWnd.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "ui/CLinkURLStatic.h"
#include "ui/link/LinkTestSupport.h"
#include "ui/link/VersionDialogWindow.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
// The calling thread's COM apartment: CO_E_NOTINITIALIZED before COM is initialised on it.
struct Apartment
{
    HRESULT hr = E_FAIL;
    APTTYPE type = APTTYPE_CURRENT;
};

Apartment CurrentApartment()
{
    Apartment apartment;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    apartment.hr = CoGetApartmentType(&apartment.type, &qualifier);
    return apartment;
}

void ClickOnText(HWND hLabel)
{
    SendMessageA(hLabel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(hLabel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
} // namespace

// The shell documents that handlers activated through COM need the opening thread in an
// apartment. The label enters a single-threaded one when it first opens, not before: showing
// links initialises nothing. Run on a thread of its own, so that no earlier open counts.
TEST(LinkOpenTest, TheFirstOpenPutsTheThreadInASingleThreadedApartment)
{
    ShellOpenRecorder recorder;
    Apartment beforeAttaching, beforeOpening, afterOpening;
    HRESULT hrMultithreaded = E_FAIL;
    bool bAttached = false, bVisited = false;
    std::thread uiThread(
        [&]
        {
            beforeAttaching = CurrentApartment();
            VersionDialogWindow dialog;
            CLinkURLStatic label;
            bAttached = dialog.Handle() != nullptr &&
                        dialog.Attach(label, IDC_LINK_HOMEPAGE, "http://apartment.example/");
            if (!bAttached)
                return;
            FlushEvents();
            beforeOpening = CurrentApartment();
            ClickOnText(label.m_hWnd);
            bVisited = label.m_bVisited != FALSE;
            afterOpening = CurrentApartment();
            // A thread in a single-threaded apartment cannot change to the multithreaded one.
            hrMultithreaded = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(hrMultithreaded))
                CoUninitialize();
        });
    uiThread.join();

    ASSERT_TRUE(bAttached);
    EXPECT_EQ(beforeAttaching.hr, CO_E_NOTINITIALIZED);
    EXPECT_EQ(beforeOpening.hr, CO_E_NOTINITIALIZED) << "COM entered before any open";
    EXPECT_EQ(afterOpening.hr, S_OK) << "COM not entered by the open";
    EXPECT_TRUE(afterOpening.type == APTTYPE_STA || afterOpening.type == APTTYPE_MAINSTA)
        << "apartment type " << afterOpening.type;
    EXPECT_EQ(hrMultithreaded, RPC_E_CHANGED_MODE);
    EXPECT_TRUE(bVisited);
    EXPECT_EQ(recorder.Opened(1), std::vector<std::string>{"http://apartment.example/"});
}

// A label object that goes while its window stays takes its 50 ms timer along: the window must
// not go on ticking for nobody.
TEST(LinkLifetimeTest, ALabelThatGoesBeforeItsWindowKillsItsHoverTimer)
{
    VersionDialogWindow dialog;
    ASSERT_NE(dialog.Handle(), nullptr);
    HWND hStatic = GetDlgItem(dialog.Handle(), IDC_LINK_HOMEPAGE);
    {
        CLinkURLStatic label;
        ASSERT_TRUE(dialog.Attach(label, IDC_LINK_HOMEPAGE, "http://lifetime.example/"));
        FlushEvents();
    }
    ASSERT_TRUE(IsWindow(hStatic)) << "the window outlives the label";
    EXPECT_EQ(CWnd::FromHandlePermanent(hStatic), nullptr);
    // Killing a timer that does not exist fails: the label's destructor killed it already.
    EXPECT_FALSE(KillTimer(hStatic, CLinkURLStatic::kHoverTimerId)) << "the timer still runs";
}
