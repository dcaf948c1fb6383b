// The cost of one hover tick: CLinkURLStatic::UpdateHoverColor on a live label, the step the
// label's 50 ms timer runs for as long as its dialog is open. The label is the home-page link of
// the real version dialog, opened modally as the program opens it; once the dialog is on screen
// and painted, a thread timer runs the ticks inside the dialog's own message loop, first with the
// pointer on the link's text and then away from it, and ends the dialog. Prints:
//
//   tick-us-on <us> tick-us-off <us> calls <n> cursor-us <us>
//   tick-ratio-on <r> tick-ratio-off <r>
//
// (microseconds per call, n calls each; cursor-us is what GetCursorPos alone costs here: the tick
// must ask where the pointer is, and under Wine that question is a round trip to the wineserver),
// then each tick over GetCursorPos alone: how much the tick adds to the one call it cannot avoid.
// Ticks and GetCursorPos alone are timed in alternating rounds, and each figure is the median of
// its rounds, so that a busy machine slows both sides of a ratio alike. Or "tick failed: <reason>".
#include "ui/CLinkURLStatic.h"
#include "ui/CVersionInfoDlg.h"

#include <algorithm>

#include <stdio.h>

namespace
{
constexpr int kRounds = 11;
constexpr int kCallsPerRound = 1000;
constexpr int kCalls = kRounds * kCallsPerRound;
constexpr int kWarmUpCalls = 100;

CVersionInfoDlg* g_pDialog = nullptr;
double g_usOnText = -1;
double g_usOffText = -1;
double g_usCursor = -1;
double g_ratioOnText = -1;
double g_ratioOffText = -1;
const char* g_pszFailure = nullptr;

// Microseconds per call of step, averaged over kCallsPerRound calls after kWarmUpCalls untimed
// ones.
template <typename Step> double MicrosecondsPerCall(Step step)
{
    for (int i = 0; i < kWarmUpCalls; ++i)
        step();
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCallsPerRound; ++i)
        step();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
           static_cast<double>(frequency.QuadPart) / kCallsPerRound;
}

double Median(double* values, int count)
{
    std::sort(values, values + count);
    return values[count / 2];
}

struct TickFigures
{
    double usTick;   // median over the rounds
    double usCursor; // median over the rounds
    double ratio;    // median of each round's tick over the same round's GetCursorPos
};

// The tick and GetCursorPos alone, timed in alternating rounds.
TickFigures MeasureAgainstCursor(CLinkURLStatic& link)
{
    double usTick[kRounds];
    double usCursor[kRounds];
    double ratio[kRounds];
    for (int r = 0; r < kRounds; ++r)
    {
        usTick[r] = MicrosecondsPerCall([&link] { link.UpdateHoverColor(); });
        usCursor[r] = MicrosecondsPerCall(
            []
            {
                POINT point;
                ::GetCursorPos(&point);
            });
        ratio[r] = usTick[r] / usCursor[r];
    }
    return {Median(usTick, kRounds), Median(usCursor, kRounds), Median(ratio, kRounds)};
}

// Puts the pointer on the client point of the label; answers whether the label agrees that the
// point is (bOnText) or is not on its text.
bool PlacePointer(CLinkURLStatic& link, POINT ptClient, bool bOnText)
{
    POINT ptScreen = ptClient;
    ::ClientToScreen(link.m_hWnd, &ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    POINT ptNow = {};
    ::GetCursorPos(&ptNow);
    if (ptNow.x != ptScreen.x || ptNow.y != ptScreen.y)
        return false;
    return (link.HitTestText(ptClient) != FALSE) == bOnText;
}

void MeasureTicks(CLinkURLStatic& link)
{
    // The text is left-aligned at the top of the label: its first character is at the corner,
    // and the far corner of a label wider than its text is off it.
    RECT rcClient;
    link.GetClientRect(&rcClient);
    const POINT ptOnText = {2, 2};
    const POINT ptOffText = {rcClient.right - 1, rcClient.bottom - 1};
    if (!PlacePointer(link, ptOnText, true))
    {
        g_pszFailure = "the pointer cannot be put on the link's text";
        return;
    }
    const TickFigures onText = MeasureAgainstCursor(link);
    if (!PlacePointer(link, ptOffText, false))
    {
        g_pszFailure = "the pointer cannot be put beside the link's text";
        return;
    }
    const TickFigures offText = MeasureAgainstCursor(link);
    g_usOnText = onText.usTick;
    g_usOffText = offText.usTick;
    g_usCursor = (onText.usCursor + offText.usCursor) / 2;
    g_ratioOnText = onText.ratio;
    g_ratioOffText = offText.ratio;
}

// Waits for the dialog to be shown, paints it, measures once, and ends the dialog.
void CALLBACK RunWhenShown(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    HWND hDlg = g_pDialog->m_hWnd;
    if (hDlg == nullptr || !::IsWindowVisible(hDlg))
        return;
    ::KillTimer(nullptr, nIDEvent);
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CLinkURLStatic& link = g_pDialog->m_linkHomePage;
    if (link.m_hWnd == nullptr)
        g_pszFailure = "the home-page link is not attached";
    else
        MeasureTicks(link);
    g_pDialog->EndDialog(IDOK);
}
} // namespace

int main()
{
    CVersionInfoDlg dlg;
    g_pDialog = &dlg;
    ::SetTimer(nullptr, 0, 10, &RunWhenShown);
    if (dlg.DoModal() == -1)
        g_pszFailure = "the version dialog cannot be created";
    if (g_pszFailure != nullptr)
    {
        printf("tick failed: %s\n", g_pszFailure);
        return 1;
    }
    printf("tick-us-on %.3f tick-us-off %.3f calls %d cursor-us %.3f\n", g_usOnText, g_usOffText,
           kCalls, g_usCursor);
    printf("tick-ratio-on %.3f tick-ratio-off %.3f\n", g_ratioOnText, g_ratioOffText);
    return 0;
}
