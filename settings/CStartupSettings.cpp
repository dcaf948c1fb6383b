#include "settings/CStartupSettings.h"

#include "framework/CRegKey.h"

namespace
{
const char kConfigs[] = "Configs";
const char kEnableBGM[] = "EnableBGM";
const char kEnableSound[] = "EnableSound";
const char kEnableMovie[] = "EnableMovie";
} // namespace

CStartupSettings::CStartupSettings(HKEY hAppKey)
    : m_proxy(hAppKey, FALSE, FALSE), m_hAppKey(hAppKey)
{
}

CStartupSettings::~CStartupSettings()
{
    if (m_hAppKey != nullptr)
        RegCloseKey(m_hAppKey);
}

void CStartupSettings::Load()
{
    m_bEnableBGM = ReadSwitch(kEnableBGM, TRUE);
    m_bEnableSound = ReadSwitch(kEnableSound, TRUE);
    m_bEnableMovie = ReadSwitch(kEnableMovie, TRUE);
    m_proxy.Load();
}

BOOL CStartupSettings::CanSave()
{
    if (m_hAppKey == nullptr)
        return FALSE;
    CRegKey keyConfigs;
    return keyConfigs.Create(m_hAppKey, kConfigs, KEY_READ | KEY_WRITE) == ERROR_SUCCESS &&
           m_proxy.CanSave();
}

BOOL CStartupSettings::Save()
{
    if (!CanSave())
        return FALSE;
    BOOL bSaved = WriteSwitch(kEnableBGM, m_bEnableBGM);
    bSaved = WriteSwitch(kEnableSound, m_bEnableSound) && bSaved;
    bSaved = WriteSwitch(kEnableMovie, m_bEnableMovie) && bSaved;
    return m_proxy.Save() && bSaved;
}

// A switch is read as its 32-bit number whatever type it was stored with: data shorter than four
// bytes reads zero-extended, longer data counts as missing. Each switch opens its key anew.
BOOL CStartupSettings::ReadSwitch(const char* lpszValue, BOOL bDefault) const
{
    CRegKey keyConfigs;
    if (m_hAppKey == nullptr || keyConfigs.Create(m_hAppKey, kConfigs, KEY_READ) != ERROR_SUCCESS)
        return bDefault;
    DWORD dwValue = 0;
    ULONG cbData = sizeof(dwValue);
    if (keyConfigs.QueryValue(lpszValue, nullptr, &dwValue, &cbData) != ERROR_SUCCESS)
        return bDefault;
    return dwValue != 0;
}

BOOL CStartupSettings::WriteSwitch(const char* lpszValue, BOOL bOn)
{
    CRegKey keyConfigs;
    return m_hAppKey != nullptr &&
           keyConfigs.Create(m_hAppKey, kConfigs, KEY_READ | KEY_WRITE) == ERROR_SUCCESS &&
           keyConfigs.SetDWORDValue(lpszValue, bOn ? 1 : 0) == ERROR_SUCCESS;
}
