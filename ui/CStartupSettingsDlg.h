// The program's main window: the media switches and the network proxy, loaded from the registry
// when the dialog is constructed and saved on confirm unless the game is running.
#pragma once

#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "framework/CWideText.h"
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
    // The proxy fields' texts, every character as the field holds or is to show it. The port
    // field shows the stored port part as text, so that one the save would not write back as
    // stored meets the port's own check.
    CWideText m_host;
    CWideText m_port;
    CWideText m_user;
    CWideText m_password;
    UINT m_nPort; // the port field's number, read on confirm while the field is enabled
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
    // The stored texts (CProxySettings::StoredText) whose fields still show what was loaded: a
    // save leaves them as they are stored.
    UINT KeptStoredTexts() const;
    BOOL TakeStorableProxyTexts();
    void RefuseField(int nID, UINT nIDMessage);
    BOOL SaveSettings();

    // What the proxy fields showed of the stored values when the dialog opened.
    CWideText m_loadedHost;
    CWideText m_loadedPort;
    CWideText m_loadedUser;
    CWideText m_loadedPassword;
    // The texts that a confirm stores, in the system's ANSI code page.
    CString m_strHost;
    CString m_strUser;
    CString m_strPassword;
};
