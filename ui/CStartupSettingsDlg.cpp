#include "ui/CStartupSettingsDlg.h"

#include "app/AppIdentity.h"
#include "app/CSettingsApp.h"
#include "app/GameMutex.h"
#include "framework/CDialogTemplate.h"
#include "framework/CPaintDC.h"
#include "framework/CWideText.h"
#include "framework/DataExchange.h"
#include "framework/ModuleState.h"
#include "res/resource.h"
#include "settings/CStartupSettings.h"
#include "ui/BannerLayout.h"
#include "ui/CVersionInfoDlg.h"

namespace
{
const UINT kMaxPort = 65535;
// The controls that the enable rules govern.
const int s_ruledControls[] = {IDC_PROXY_PRECONFIG, IDC_PROXY_NAMED, IDC_PROXY_HOST,
                               IDC_PROXY_PORT,      IDC_PROXY_USER,  IDC_PROXY_PASSWORD};
const WCHAR kDefaultPortText[] = L"80";

bool IsChecked(HWND hButton)
{
    return SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
} // namespace

BEGIN_MESSAGE_MAP(CStartupSettingsDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_INITIALIZE, OnInitialize)
ON_BN_CLICKED(IDC_USE_PROXY, OnProxyOptionClicked)
ON_BN_CLICKED(IDC_PROXY_PRECONFIG, OnProxyOptionClicked)
ON_BN_CLICKED(IDC_PROXY_NAMED, OnProxyOptionClicked)
END_MESSAGE_MAP()

CStartupSettingsDlg::CStartupSettingsDlg(CWnd* pParent)
    : CDialog(IDD_STARTUP_SETTINGS, pParent),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP)))
{
    SetDefaults();
    LoadStoredSettings();
}

CStartupSettingsDlg::~CStartupSettingsDlg() = default;

void CStartupSettingsDlg::SetDefaults()
{
    m_bEnableBGM = TRUE;
    m_bEnableSound = TRUE;
    m_bEnableMovie = TRUE;
    m_host = CWideText();
    m_password = CWideText();
    m_user = CWideText();
    m_port = CWideText(kDefaultPortText, 2);
    m_nPort = 80;
    m_bUseProxy = FALSE;
    m_nProxyKind = 0;
}

// The stored settings into the fields: the media switches (on when missing) and the proxy record.
// The texts show every character as stored, also those the system's code page lacks, and are
// remembered as loaded.
void CStartupSettingsDlg::LoadStoredSettings()
{
    CStartupSettings stored(theApp.GetAppRegistryKey());
    stored.Load();
    m_bEnableBGM = stored.m_bEnableBGM;
    m_bEnableSound = stored.m_bEnableSound;
    m_bEnableMovie = stored.m_bEnableMovie;

    const CProxySettings& proxy = stored.m_proxy;
    m_bUseProxy = proxy.m_nProxyMode != Direct;
    if (m_bUseProxy)
        m_nProxyKind = proxy.m_nProxyMode != Preconfig ? 1 : 0;
    // Also in Direct: a server stored with it still shows, disabled.
    proxy.SplitServer(m_host, m_port);
    m_user = proxy.m_wideProxyUser;
    // The password's bytes are in the system's ANSI code page, as the field's A text would be.
    m_password = CWideText(proxy.m_strProxyPasswd, CP_ACP);
    m_loadedHost = m_host;
    m_loadedPort = m_port;
    m_loadedUser = m_user;
    m_loadedPassword = m_password;
}

void CStartupSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BANNER, m_wndBanner);
    DDX_Check(pDX, IDC_ENABLE_BGM, m_bEnableBGM);
    DDX_Check(pDX, IDC_ENABLE_SOUND, m_bEnableSound);
    DDX_Check(pDX, IDC_ENABLE_MOVIE, m_bEnableMovie);
    DDX_Text(pDX, IDC_PROXY_HOST, m_host);
    DDX_Text(pDX, IDC_PROXY_PASSWORD, m_password);
    DDX_Text(pDX, IDC_PROXY_USER, m_user);
    DDX_Text(pDX, IDC_PROXY_PORT, m_port);
    // A disabled port field is not the user's to correct: it is not checked, and the save stores
    // no port with the system's settings or with no proxy.
    if (pDX->m_bSaveAndValidate && ::IsWindowEnabled(GetDlgItemHandle(IDC_PROXY_PORT)))
    {
        DDX_Text(pDX, IDC_PROXY_PORT, m_nPort);
        DDV_MinMaxUInt(pDX, m_nPort, 0, kMaxPort);
    }
    DDX_Check(pDX, IDC_USE_PROXY, m_bUseProxy);
    // The template gives neither mode button WS_TABSTOP. The button control gives it to a radio
    // button that is checked (by BM_SETCHECK from the exchange here, by a click or by an arrow
    // key) and takes it from one that loses the check: the checked one holds the pair's tab stop.
    DDX_Radio(pDX, IDC_PROXY_PRECONFIG, m_nProxyKind);
}

BOOL CStartupSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    AppendVersionMenuItem();
    // The small icon first: given a big icon while it has no small one, the window makes itself
    // a small copy of it, only to drop that copy when the small icon comes. Either order leaves
    // the same two icons.
    SetIcon(m_hIcon, FALSE);
    SetIcon(m_hIcon, TRUE);

    CString strCaption;
    theApp.FormatTitledString(IDS_TITLE_FORMAT, strCaption);
    SetWindowText(strCaption);

    ShowBanner();
    SizeAndCenterWindow(m_windowSize.cx, m_windowSize.cy);
    UpdateControlStates();
    return TRUE;
}

void CStartupSettingsDlg::AppendVersionMenuItem()
{
    HMENU hSysMenu = GetSystemMenu(FALSE);
    if (hSysMenu == nullptr)
        return;
    CString strItem;
    if (!strItem.LoadString(IDS_VERSION_MENU_ITEM) || strItem.IsEmpty())
        return;
    AppendMenuW(hSysMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(hSysMenu, MF_STRING, IDM_VERSION_INFO, CWideText(strItem));
}

BOOL CStartupSettingsDlg::PlacesControls() const
{
    return TRUE;
}

// Lays the controls out around the banner's bitmap before they exist, from where the template
// puts them: the banner takes the bitmap's size, and the dialog's new window size is kept for
// OnInitDialog, which gives it as it centres the dialog. Without the bitmap the template layout
// stays (the banner is hidden once it exists); without a banner, the template's window size.
void CStartupSettingsDlg::PlaceControls(const CDialogTemplate& dialogTemplate, RECT* prcControls)
{
    RECT rcTemplateWindow;
    GetWindowRect(&rcTemplateWindow);
    m_windowSize = {rcTemplateWindow.right - rcTemplateWindow.left,
                    rcTemplateWindow.bottom - rcTemplateWindow.top};
    int nBanner = 0;
    while (nBanner < dialogTemplate.GetControlCount() &&
           dialogTemplate.GetControl(nBanner).nID != IDC_BANNER)
        ++nBanner;
    if (nBanner == dialogTemplate.GetControlCount())
        return;

    BannerLayoutInput input = {};
    RECT& rcBanner = prcControls[nBanner];
    input.placeholder = rcBanner;
    input.bHasBitmap = m_bmpBanner.LoadBitmap(IDB_BANNER) != FALSE;
    if (input.bHasBitmap)
    {
        BITMAP bitmap = {};
        m_bmpBanner.GetBitmap(&bitmap);
        input.bitmapSize = {bitmap.bmWidth, bitmap.bmHeight};
        rcBanner.right = rcBanner.left + bitmap.bmWidth;
        rcBanner.bottom = rcBanner.top + bitmap.bmHeight;
    }
    GetClientRect(&input.clientRect);

    const BannerLayout layout = ComputeBannerLayout(input);
    if (layout.bMoveBanner)
        OffsetRect(&rcBanner, layout.bannerTopLeft.x - rcBanner.left,
                   layout.bannerTopLeft.y - rcBanner.top);
    // Every control after the banner in the template, and so in the z-order.
    for (int i = nBanner + 1; i < dialogTemplate.GetControlCount(); ++i)
        OffsetRect(&prcControls[i], layout.dx, layout.dy);

    RECT rcWindow = layout.clientRect;
    AdjustWindowRectEx(&rcWindow, GetStyle(), FALSE, GetExStyle());
    m_windowSize = {rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
}

// The banner shows its bitmap, already at its size, or is hidden when the bitmap is missing.
void CStartupSettingsDlg::ShowBanner()
{
    if (m_bmpBanner.GetSafeHandle() != nullptr)
        m_wndBanner.SetBitmap(m_bmpBanner);
    else
        m_wndBanner.ShowWindow(SW_HIDE);
}

void CStartupSettingsDlg::UpdateControlStates()
{
    const bool bUseProxy = IsChecked(GetDlgItemHandle(IDC_USE_PROXY));
    const bool bNamedProxy = IsChecked(GetDlgItemHandle(IDC_PROXY_NAMED));
    for (int nID : s_ruledControls)
        EnableWindow(GetDlgItemHandle(nID), IsEnabledByRules(nID, bUseProxy, bNamedProxy));
}

// The enable rules: the mode options need the use-proxy box ticked, the proxy's fields need the
// explicit proxy chosen as well. Every other control stays enabled.
bool CStartupSettingsDlg::IsEnabledByRules(int nID, bool bUseProxy, bool bNamedProxy)
{
    if (nID == IDC_PROXY_PRECONFIG || nID == IDC_PROXY_NAMED)
        return bUseProxy;
    if (nID == IDC_PROXY_HOST || nID == IDC_PROXY_PORT || nID == IDC_PROXY_USER ||
        nID == IDC_PROXY_PASSWORD)
        return bUseProxy && bNamedProxy;
    return true;
}

// The controls that the enable rules would disable at the end of OnInitDialog, where the data
// exchange has put the fields into the boxes, are made disabled: disabling them afterwards would
// cost a few round trips to the system each, and they would look the same.
DWORD CStartupSettingsDlg::StyleOfControl(const DialogControl& control) const
{
    if (IsEnabledByRules(control.nID, m_bUseProxy == TRUE, m_nProxyKind == 1))
        return control.dwStyle;
    return control.dwStyle | WS_DISABLED;
}

// Input first (the port, then the proxy texts), the running game last, right before the writes.
// Whatever refuses, nothing is written and the dialog stays open with the user's values.
void CStartupSettingsDlg::OnOK()
{
    BeginWaitCursor();
    if (UpdateData(TRUE) && TakeStorableProxyTexts())
    {
        if (IsGameRunning(kGameMutexName))
            theApp.ShowTitledMessage(IDS_GAME_RUNNING, MB_OK | MB_ICONEXCLAMATION);
        else if (SaveSettings())
            EndDialog(IDOK);
        else
            theApp.ShowTitledMessage(IDS_SAVE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    EndWaitCursor();
}

UINT CStartupSettingsDlg::KeptStoredTexts() const
{
    UINT nKept = 0;
    if (!m_loadedHost.IsEmpty() && m_host == m_loadedHost && m_port == m_loadedPort)
        nKept |= CProxySettings::KeepServer;
    if (!m_loadedUser.IsEmpty() && m_user == m_loadedUser)
        nKept |= CProxySettings::KeepUser;
    if (!m_loadedPassword.IsEmpty() && m_password == m_loadedPassword)
        nKept |= CProxySettings::KeepPassword;
    return nKept;
}

// The proxy texts that the save stores anew (host, user name and password, for an explicit proxy
// only, and only those the player changed: the others stay as stored) must hold exactly in the
// code page of the stored values, the system's ANSI code page: converted by default, a character
// it lacks would be stored as a look-alike or '?'. The host must name a server, and read back as
// itself from the stored "host:port": a ':' in it (a port typed with the host) would be taken for
// the port's start. FALSE after telling the user about the first text refused; that field then
// has the focus with its text selected.
BOOL CStartupSettingsDlg::TakeStorableProxyTexts()
{
    if (!m_bUseProxy || m_nProxyKind == 0)
        return TRUE; // nothing of them is stored
    if (!CProxySettings::NamesAServer(m_host))
    {
        RefuseField(IDC_PROXY_HOST, IDS_NO_PROXY_HOST);
        return FALSE;
    }
    const UINT nKept = KeptStoredTexts();
    struct ProxyText
    {
        int nID;
        const CWideText* pField;
        CString* pStored;
        UINT nKeptAs;
    };
    const ProxyText texts[] = {
        {IDC_PROXY_HOST, &m_host, &m_strHost, CProxySettings::KeepServer},
        {IDC_PROXY_USER, &m_user, &m_strUser, CProxySettings::KeepUser},
        {IDC_PROXY_PASSWORD, &m_password, &m_strPassword, CProxySettings::KeepPassword},
    };
    for (const ProxyText& text : texts)
    {
        if ((nKept & text.nKeptAs) != 0)
            continue;
        UINT nRefusal = 0;
        if (!text.pField->ToMultiByte(CP_ACP, *text.pStored))
            nRefusal = IDS_UNSTORABLE_TEXT;
        else if (text.nID == IDC_PROXY_HOST && !CProxySettings::IsStorableHost(*text.pStored))
            nRefusal = IDS_COLON_IN_HOST;
        if (nRefusal != 0)
        {
            RefuseField(text.nID, nRefusal);
            return FALSE;
        }
    }
    return TRUE;
}

// Tells the user why the field's text was refused; the field then has the focus with its text
// selected.
void CStartupSettingsDlg::RefuseField(int nID, UINT nIDMessage)
{
    theApp.ShowTitledMessage(nIDMessage, MB_OK | MB_ICONEXCLAMATION);
    HWND hEdit = GetDlgItemHandle(nID);
    ::SetFocus(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
}

// The fields into a fresh record of the stored settings, saved all or nothing; the texts the
// player left as loaded stay as they are stored. FALSE when a key refused to open for writing
// (nothing written) or a write failed.
BOOL CStartupSettingsDlg::SaveSettings()
{
    CStartupSettings stored(theApp.GetAppRegistryKey());
    stored.m_bEnableBGM = m_bEnableBGM;
    stored.m_bEnableSound = m_bEnableSound;
    stored.m_bEnableMovie = m_bEnableMovie;
    stored.m_proxy.Set(m_bUseProxy, m_nProxyKind == 0, m_strHost, m_nPort, m_strUser,
                       m_strPassword);
    stored.m_proxy.m_nKept = KeptStoredTexts();
    return stored.Save();
}

void CStartupSettingsDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_VERSION_INFO)
    {
        CVersionInfoDlg dlgVersion;
        dlgVersion.DoModal();
        return;
    }
    Default();
}

void CStartupSettingsDlg::OnPaint()
{
    if (!IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rc;
    GetClientRect(&rc);
    const int x = (rc.right - rc.left - cxIcon + 1) / 2;
    const int y = (rc.bottom - rc.top - cyIcon + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CStartupSettingsDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CStartupSettingsDlg::OnInitialize()
{
    BeginWaitCursor();
    SetDefaults();
    UpdateData(FALSE);
    UpdateControlStates();
    EndWaitCursor();
}

void CStartupSettingsDlg::OnProxyOptionClicked()
{
    UpdateControlStates();
}
