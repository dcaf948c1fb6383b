// A modal dialog from a template in the program's resources, with data exchange between member
// fields and controls.
#pragma once

#include "framework/CDialogTemplate.h"
#include "framework/CWnd.h"

class CDataExchange;

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog until EndDialog; answers its result, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // TRUE: controls into fields, with validation; FALSE: fields into controls. Answers FALSE
    // when a field failed validation (the user has been told, the control has the focus).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // A control that the dialog created itself is known without asking the system, which under
    // Wine is a round trip for every look-up; any other is looked up as usual.
    HWND GetDlgItemHandle(int nID) const override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A dialog that places its controls itself answers TRUE. It is then created from its template
    // without the controls, and creates them just before WM_INITDIALOG where PlaceControls puts
    // them: each control is made once where it ends instead of made and then moved, a move being
    // several round trips to the system per control under Wine. Their order, styles, texts, ids
    // and font are the template's, as the dialog manager would have made them.
    virtual BOOL PlacesControls() const { return FALSE; }
    // Given the controls' rectangles in client pixels as the template puts them, in the template's
    // order, moves them where they belong. The dialog window exists, its controls do not yet.
    virtual void PlaceControls(const CDialogTemplate& dialogTemplate, RECT* prcControls);
    // The style a control is created with: the template's, unless the dialog would change it
    // first thing (a control it would disable at once is better made disabled).
    virtual DWORD StyleOfControl(const DialogControl& control) const { return control.dwStyle; }

    DECLARE_MESSAGE_MAP()

private:
    HWND FindOwnerWindow() const;
    BOOL CreateControls();
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    // The template whose controls are still to be created, while DoModal creates the dialog.
    const CDialogTemplate* m_pTemplate = nullptr;
    // The controls created from it, in its order, while the dialog runs.
    struct CreatedControl
    {
        int nID;
        HWND hWnd;
    };
    CreatedControl m_controls[CDialogTemplate::kMaxControls] = {};
    int m_nControls = 0;
};
