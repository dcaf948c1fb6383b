// Runs a real dialog modally and lets a test act on it from inside the modal loop: a thread timer
// fires once the dialog is up, the test's action reads or clicks its controls, and DoModal's
// result comes back to the test.
#pragma once

#include "framework/CDialog.h"

#include <windows.h>

#include <functional>

class ModalRun
{
public:
    using Action = std::function<void(HWND hDialog)>;

    // Runs dlg.DoModal(); once the dialog is visible, action(dialog window) runs once. If the
    // action leaves the dialog open, the run ends it with IDCANCEL so that a test never hangs.
    static INT_PTR Run(CDialog& dlg, Action action)
    {
        ModalRun run{dlg, std::move(action)};
        s_current = &run;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &TimerProc);
        const INT_PTR result = dlg.DoModal();
        KillTimer(nullptr, timer);
        s_current = nullptr;
        return result;
    }

private:
    ModalRun(CDialog& dlg, Action action) : m_dlg(dlg), m_action(std::move(action)) {}

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalRun* run = s_current;
        if (run == nullptr || run->m_dlg.m_hWnd == nullptr || !IsWindowVisible(run->m_dlg.m_hWnd))
            return;
        HWND hDialog = run->m_dlg.m_hWnd;
        if (!run->m_acted)
        {
            run->m_acted = true;
            run->m_action(hDialog);
        }
        else if (++run->m_ticksSinceAction > 100)
        {
            // Still shown a second after the action: the action did not end it. (EndDialog
            // hides the window at once, so a dialog that ended is never ended twice.)
            EndDialog(hDialog, IDCANCEL);
        }
    }

    static inline ModalRun* s_current = nullptr;
    CDialog& m_dlg;
    Action m_action;
    bool m_acted = false;
    int m_ticksSinceAction = 0;
};
