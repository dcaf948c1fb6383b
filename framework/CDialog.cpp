#include "framework/CDialog.h"

#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/ModuleState.h"

namespace
{
// Every message reaches the dialog object through its subclassed window procedure first, so the
// dialog procedure handles nothing itself and leaves the rest to the dialog manager.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

// The window that owns a modal dialog: its parent if it has one, else the application's main
// window (the popup that is active in it), so that a dialog opened from the main dialog is modal to
// it, as the user expects, and placed over it.
HWND CDialog::FindOwnerWindow() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    CWinApp* pApp = AfxGetApp();
    HWND hWndMain = pApp != nullptr && pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd != this
                        ? pApp->m_pMainWnd->m_hWnd
                        : nullptr;
    if (hWndMain == nullptr || !IsWindow(hWndMain))
        return nullptr;
    return GetLastActivePopup(hWndMain);
}

INT_PTR CDialog::DoModal()
{
    HWND hWndParent = FindOwnerWindow();
    AfxHookWindowCreate(this);
    const INT_PTR nResult = DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                            hWndParent, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE; // the dialog manager gives the focus to the first tab stop
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The dialog manager decides on the initial focus from what WM_INITDIALOG answers.
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}
