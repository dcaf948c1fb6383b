// A modal dialog from a template in the program's resources, with data exchange between member
// fields and controls.
#pragma once

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

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    HWND FindOwnerWindow() const;
};
