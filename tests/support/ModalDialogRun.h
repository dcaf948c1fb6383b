// Running a real dialog modally from a test: the test's steps run one by one from a timer of the
// test's thread while the dialog's own modal loop runs, so that keys and commands a step posts go
// through the dialog manager (IsDialogMessage) before the next step looks.
#pragma once

#include "framework/CDialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

// What DoModal answers when the steps are done and the dialog is still open: the harness ends it
// with this value, which no button of the program gives.
constexpr INT_PTR kLeftOpen = 0x5EED;

using DialogStep = std::function<void(HWND hDlg)>;

namespace harness_detail
{
struct ModalDriver
{
    CDialog* pDialog;
    std::vector<DialogStep> steps;
    size_t nNext = 0;
    bool bShown = false;
    bool bBusy = false;
};

inline ModalDriver*& CurrentDriver()
{
    static ModalDriver* s_pDriver = nullptr;
    return s_pDriver;
}

// A step may open message boxes, whose own loops dispatch this timer too: one step at a time.
inline void CALLBACK OnDriveTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ModalDriver* pDriver = CurrentDriver();
    if (pDriver == nullptr || pDriver->bBusy)
        return;
    HWND hDlg = pDriver->pDialog->m_hWnd;
    if (hDlg == nullptr)
        return;
    // The modal loop shows the dialog when its queue first runs empty; a timer may come sooner.
    if (!pDriver->bShown)
    {
        if (!IsWindowVisible(hDlg))
            return;
        pDriver->bShown = true;
    }
    pDriver->bBusy = true;
    if (pDriver->nNext < pDriver->steps.size())
        pDriver->steps[pDriver->nNext++](hDlg);
    else
        ::EndDialog(hDlg, kLeftOpen);
    pDriver->bBusy = false;
}
} // namespace harness_detail

// Runs the dialog modally, the steps in order once it is on screen, and answers what DoModal
// answered. A dialog that ends before its last step fails the test: those steps never ran.
inline INT_PTR RunModal(CDialog& dialog, std::vector<DialogStep> steps)
{
    harness_detail::ModalDriver driver{&dialog, std::move(steps)};
    harness_detail::CurrentDriver() = &driver;
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, &harness_detail::OnDriveTimer);
    const INT_PTR nResult = dialog.DoModal();
    KillTimer(nullptr, nTimer);
    harness_detail::CurrentDriver() = nullptr;
    if (driver.nNext < driver.steps.size())
        ADD_FAILURE() << "the dialog ended (" << nResult << ") after " << driver.nNext << " of "
                      << driver.steps.size() << " steps";
    return nResult;
}
