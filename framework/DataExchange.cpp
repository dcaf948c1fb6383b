#include "framework/DataExchange.h"

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/DecimalText.h"
#include "framework/FrameworkIds.h"

namespace
{
// The framework's prompt nIDPrompt with "%1" and "%2" replaced, shown with an exclamation icon.
void ShowPrompt(UINT nIDPrompt, const char* lpsz1 = "", const char* lpsz2 = "")
{
    CString strFormat;
    strFormat.LoadString(nIDPrompt);
    CString strText;
    for (const char* pch = strFormat; *pch != '\0'; ++pch)
    {
        if (pch[0] == '%' && (pch[1] == '1' || pch[1] == '2'))
        {
            strText += pch[1] == '1' ? lpsz1 : lpsz2;
            ++pch;
        }
        else
        {
            strText += *pch;
        }
    }
    AfxMessageBox(strText, MB_ICONEXCLAMATION, nIDPrompt);
}

bool IsRadioButton(HWND hWnd)
{
    return (SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}
} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItemHandle(nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_hWndLastControl == nullptr)
        return;
    SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr)
        rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value)
{
    if (!pDX->Active())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<BOOL>(SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    else
        SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

// The radio group starts at nIDC and runs up to the next control that starts a group; value is
// the index of the checked button among the group's radio buttons, -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    if (!pDX->Active())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nIndex = 0;
    do
    {
        if (IsRadioButton(hWnd))
        {
            if (pDX->m_bSaveAndValidate)
            {
                if (SendMessageA(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                    value = nIndex;
            }
            else
            {
                SendMessageA(hWnd, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nIndex;
        }
        hWnd = GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd != nullptr && (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_GROUP) == 0);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (!pDX->Active())
        return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        const int nLength = GetWindowTextLengthA(hWnd);
        char* pch = value.GetBufferSetLength(nLength);
        if (pch != nullptr)
        {
            GetWindowTextA(hWnd, pch, nLength + 1);
            value.ReleaseBuffer(-1);
        }
    }
    else
    {
        SetWindowTextA(hWnd, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CWideText& value)
{
    if (!pDX->Active())
        return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value = AfxGetWindowTextWide(hWnd);
    }
    else
    {
        SetWindowTextW(hWnd, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    if (!pDX->Active())
        return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        char szText[64] = {};
        GetWindowTextA(hWnd, szText, sizeof(szText)); // at most the first 63 characters
        if (!ReadUnsignedText(szText, &value))
        {
            ShowPrompt(AFX_IDP_PARSE_UINT);
            pDX->Fail();
        }
    }
    else
    {
        char szText[AFX_DECIMAL_TEXT_SIZE];
        AfxFormatDecimal(value, szText);
        SetWindowTextA(hWnd, szText);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->Active() || !pDX->m_bSaveAndValidate)
        return;
    if (value >= minVal && value <= maxVal)
        return;
    char szMin[AFX_DECIMAL_TEXT_SIZE];
    char szMax[AFX_DECIMAL_TEXT_SIZE];
    AfxFormatDecimal(minVal, szMin);
    AfxFormatDecimal(maxVal, szMax);
    ShowPrompt(AFX_IDP_PARSE_INT_RANGE, szMin, szMax);
    pDX->Fail();
}
