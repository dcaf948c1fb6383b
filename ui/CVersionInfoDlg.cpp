#include "ui/CVersionInfoDlg.h"

#include "app/CSettingsApp.h"
#include "framework/DataExchange.h"
#include "res/product.h"
#include "res/resource.h"
#include "res/version.h"

#include <string.h>

namespace
{
const char kVersionLine[] = STARTUP_VERSION_LINE;
// The addresses shown in every language set. The labels open and copy the addresses of the
// template they were attached to: in the Korean set the same two, in the others their own.
const char kHomePageAddress[] = STARTUP_HOME_PAGE_ADDRESS;
const char kCommunityAddress[] = STARTUP_COMMUNITY_ADDRESS;
} // namespace

// OK, Esc and the close box end the dialog through the framework's defaults.
BEGIN_MESSAGE_MAP(CVersionInfoDlg, CDialog)
END_MESSAGE_MAP()

CVersionInfoDlg::CVersionInfoDlg() : CDialog(IDD_VERSION_INFO, nullptr) {}

CVersionInfoDlg::~CVersionInfoDlg() = default;

void CVersionInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK_HOMEPAGE, m_linkHomePage);
    DDX_Control(pDX, IDC_LINK_COMMUNITY, m_linkCommunity);
}

BOOL CVersionInfoDlg::OnInitDialog()
{
    // Attaches the labels, which take the template's texts as the addresses they open.
    CDialog::OnInitDialog();

    SetDlgItemText(IDC_VERSION_LINE, kVersionLine);
    m_linkHomePage.SetWindowText(kHomePageAddress);
    m_linkCommunity.SetWindowText(kCommunityAddress);

    CString strTitle; // stays empty when string 128 is missing
    theApp.FormatTitledString(IDS_TITLE_FORMAT, strTitle);
    SetDlgItemText(IDC_VERSION_TITLE, strTitle);
    MakeTitleBold();

    // The links come before OK in the tab order, but the focus starts on OK as it did before they
    // were tab stops: Enter still closes the dialog at once, and Tab goes on to the links.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItemHandle(IDOK)), TRUE);
    return FALSE;
}

// The title line in a bold copy of the dialog font; without a dialog font, or when the copy
// cannot be made, it keeps the dialog font.
void CVersionInfoDlg::MakeTitleBold()
{
    HFONT hFont = GetFont();
    if (hFont == nullptr)
        return;
    // Copied in UTF-16: through the ANSI form, "ＭＳ Ｐゴシック" or "細明體" would turn into
    // question marks wherever the system's code page lacks them, and the copy would take another
    // face.
    LOGFONTW lf;
    memset(&lf, 0, sizeof(lf));
    ::GetObjectW(hFont, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    if (m_fontBold.CreateFontIndirect(&lf))
        ::SendMessageA(GetDlgItemHandle(IDC_VERSION_TITLE), WM_SETFONT,
                       reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontBold)), TRUE);
}
