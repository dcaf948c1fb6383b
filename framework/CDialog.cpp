#include "framework/CDialog.h"

#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/ModuleState.h"

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
    HINSTANCE hInstance = AfxGetResourceHandle();
    if (!PlacesControls())
        return DialogBoxParamW(hInstance, MAKEINTRESOURCEW(m_nIDTemplate), hWndParent,
                               &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));

    CDialogTemplate dialogTemplate;
    if (!dialogTemplate.Load(hInstance, m_nIDTemplate))
        return -1;
    m_pTemplate = &dialogTemplate;
    const INT_PTR nResult =
        DialogBoxIndirectParamW(hInstance, dialogTemplate.GetFrame(), hWndParent,
                                &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_pTemplate = nullptr;
    m_nControls = 0;
    return nResult;
}

void CDialog::PlaceControls(const CDialogTemplate&, RECT*) {}

// The first created control with the id that is still this dialog's child with that id: the one
// that ::GetDlgItem would find first, as the template's order is the z-order.
HWND CDialog::GetDlgItemHandle(int nID) const
{
    for (int i = 0; i < m_nControls; ++i)
    {
        HWND hControl = m_controls[i].hWnd;
        if (m_controls[i].nID == nID && ::IsWindow(hControl) && ::GetParent(hControl) == m_hWnd &&
            ::GetDlgCtrlID(hControl) == nID)
            return hControl;
    }
    return CWnd::GetDlgItemHandle(nID);
}

// Creates the template's controls as the dialog manager does: in the template's order (which is
// their z-order and tab order), each sent the dialog's font. The default button's id is made the
// dialog's default before any control exists, as the dialog manager records it, so that no
// control need be looked for.
BOOL CDialog::CreateControls()
{
    const CDialogTemplate& dialogTemplate = *m_pTemplate;
    const int nControls = dialogTemplate.GetControlCount();
    RECT rcControls[CDialogTemplate::kMaxControls];
    for (int i = 0; i < nControls; ++i)
    {
        // Each of x, y, width and height converted on its own, as the dialog manager converts.
        RECT& rc = rcControls[i];
        rc = dialogTemplate.GetControl(i).rcUnits;
        MapDialogRect(m_hWnd, &rc);
        rc.right += rc.left;
        rc.bottom += rc.top;
    }
    PlaceControls(dialogTemplate, rcControls);

    for (int i = 0; i < nControls; ++i)
    {
        const DialogControl& control = dialogTemplate.GetControl(i);
        if (lstrcmpiW(control.lpszClass, L"Button") == 0 &&
            (control.dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            ::SendMessageW(m_hWnd, DM_SETDEFID, static_cast<WPARAM>(control.nID), 0);
    }
    const WPARAM hFont = static_cast<WPARAM>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    for (int i = 0; i < nControls; ++i)
    {
        const DialogControl& control = dialogTemplate.GetControl(i);
        const RECT& rc = rcControls[i];
        HWND hControl = CreateWindowExW(control.dwExStyle, control.lpszClass, control.lpszTitle,
                                        StyleOfControl(control), rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.nID)),
                                        AfxGetResourceHandle(), nullptr);
        if (hControl == nullptr)
            return FALSE;
        m_controls[m_nControls++] = {control.nID, hControl};
        if (hFont != 0)
            ::SendMessageW(hControl, WM_SETFONT, hFont, 0);
    }
    return TRUE;
}

// The dialog manager hands the object over with WM_INITDIALOG, the first message that one of our
// handlers is for: the messages before it (WM_SETFONT with the template's font, the creation
// messages) get the dialog manager's own handling, as they would through the object. There the
// object attaches to the dialog and subclasses it, so that from then on every message reaches it
// through its window procedure first and this procedure handles nothing itself. Attaching here
// needs no window hook, which would cost a round trip to the system to set and another to remove.
INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    if (!pDialog->AttachWindowProc(hDlg))
        return FALSE;
    if (pDialog->m_pTemplate != nullptr && !pDialog->CreateControls())
    {
        ::EndDialog(hDlg, -1); // as the dialog manager fails when a control cannot be made
        return FALSE;
    }
    return pDialog->WindowProc(message, wParam, lParam);
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
