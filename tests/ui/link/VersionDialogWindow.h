// Dialog 100 of the program's resources, modeless, made on the calling thread with a framework
// object on it so that the labels' colour requests are reflected to them, as in the version
// dialog. The link tests put their labels on its statics.
#pragma once

#include "framework/CWnd.h"
#include "res/resource.h"
#include "ui/CLinkURLStatic.h"

#include <windows.h>

class VersionDialogWindow
{
public:
    VersionDialogWindow()
    {
        m_hDlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VERSION_INFO),
                                    nullptr, &PlainDialogProc, 0);
        if (m_hDlg != nullptr && !m_dialog.SubclassWindow(m_hDlg))
            Destroy();
    }
    ~VersionDialogWindow() { Destroy(); }
    VersionDialogWindow(const VersionDialogWindow&) = delete;
    VersionDialogWindow& operator=(const VersionDialogWindow&) = delete;

    // Null when the dialog could not be made.
    HWND Handle() const { return m_hDlg; }

    // Shows the dialog with its top left corner at (x, y) of the screen.
    void ShowAt(int x, int y) const
    {
        SetWindowPos(m_hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    // Gives control nID the text, then attaches the label to it.
    bool Attach(CLinkURLStatic& label, int nID, const char* pszText) const
    {
        SetDlgItemTextA(m_hDlg, nID, pszText);
        return label.SubclassWindow(GetDlgItem(m_hDlg, nID)) != FALSE;
    }

    void Destroy()
    {
        if (IsWindow(m_hDlg))
            DestroyWindow(m_hDlg);
        m_hDlg = nullptr;
    }

private:
    static INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    CWnd m_dialog;
    HWND m_hDlg = nullptr;
};
