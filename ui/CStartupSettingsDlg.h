// The program's main window: the media switches and the network proxy, loaded from the registry
// when the dialog is constructed and saved on confirm unless the game is running.
#pragma once

#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "ui/CBannerPicture.h"

class CStartupSettingsDlg : public CDialog
{
public:
    explicit CStartupSettingsDlg(CWnd* pParent = nullptr);
    ~CStartupSettingsDlg() override;

    // The defaults that Initialize puts into the controls; neither controls nor registry change.
    void SetDefaults();
    // Enables the proxy choices and fields from the current check states of the controls.
    void UpdateControlStates();

    CBannerPicture m_wndBanner;
    BOOL m_bEnableBGM;
    BOOL m_bEnableSound;
    BOOL m_bEnableMovie;
    CString m_strHost;
    CString m_strPassword;
    CString m_strUser;
    UINT m_nPort;
    BOOL m_bUseProxy;
    int m_nProxyKind; // 0: the system's proxy settings (1007); 1: explicit proxy (1008)
    CBitmap m_bmpBanner;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PlacesControls() const override;
    void PlaceControls(const CDialogTemplate& dialogTemplate, RECT* prcControls) override;
    DWORD StyleOfControl(const DialogControl& control) const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnInitialize();
    void OnProxyOptionClicked();

    DECLARE_MESSAGE_MAP()

private:
    SIZE m_windowSize = {}; // the dialog's window once laid out around the banner

    static bool IsEnabledByRules(int nID, bool bUseProxy, bool bNamedProxy);
    void LoadStoredSettings();
    void AppendVersionMenuItem();
    void ShowBanner();
    BOOL TakeStorableProxyTexts();
    BOOL SaveSettings();
};
