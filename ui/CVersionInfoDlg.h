// The version information dialog, opened from the main dialog's system menu: the bold title line,
// the version line and the maker's two web addresses as live links.
#pragma once

#include "framework/CDialog.h"
#include "framework/CFont.h"
#include "ui/CLinkURLStatic.h"

class CVersionInfoDlg : public CDialog
{
public:
    CVersionInfoDlg();
    ~CVersionInfoDlg() override;

    CLinkURLStatic m_linkHomePage;  // control 1016: the maker's regional home page
    CLinkURLStatic m_linkCommunity; // control 1015: the maker's community portal
    CFont m_fontBold;               // bold copy of the dialog font, for the title line

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()

private:
    void MakeTitleBold();
};
