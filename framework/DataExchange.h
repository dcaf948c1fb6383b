// Data exchange between a dialog's member fields and its controls, and validation. On saving, the
// first failure shows the framework's prompt, puts the focus back on the control that failed and
// makes every later exchange of the same pass do nothing.
#pragma once

#include "framework/CString.h"
#include "framework/CWideText.h"

#include <windows.h>

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // Remembers the control being exchanged, for the focus after a failure.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the pass: focus on the last prepared control (an edit gets its text selected).
    void Fail();

    // Whether this pass still exchanges: false once a field has failed.
    bool Active() const { return !m_bFailed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The field's text in the system's ANSI code page, the one in which the A functions and the
// registry keep 8-bit text.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The field's text in UTF-16, every character as the field holds it or is to show it.
void DDX_Text(CDataExchange* pDX, int nIDC, CWideText& value);
// The text as an unsigned decimal number: what "%u" reads from the first 63 characters
// (ReadUnsignedText).
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
