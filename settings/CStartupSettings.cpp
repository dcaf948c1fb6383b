#include "settings/CStartupSettings.h"

#include "framework/CRegKey.h"

namespace
{
const char kConfigs[] = "Configs";
const char kEnableBGM[] = "EnableBGM";
const char kEnableSound[] = "EnableSound";
const char kEnableMovie[] = "EnableMovie";

// A switch is read as its 32-bit number whatever type it was stored with: data shorter than four
// bytes reads zero-extended, longer data counts as missing.
BOOL ReadSwitch(const CRegKey& keyConfigs, const char* lpszValue, BOOL bDefault)
{
    DWORD dwValue = 0;
    ULONG cbData = sizeof(dwValue);
    if (keyConfigs.QueryValue(lpszValue, nullptr, &dwValue, &cbData) != ERROR_SUCCESS)
        return bDefault;
    return dwValue != 0;
}

bool WriteSwitch(CRegKey& keyConfigs, const char* lpszValue, BOOL bOn)
{
    return keyConfigs.SetDWORDValue(lpszValue, bOn ? 1 : 0) == ERROR_SUCCESS;
}
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
    CRegKey keyConfigs;
    if (m_hAppKey == nullptr ||
        keyConfigs.Create(m_hAppKey, kConfigs, KEY_QUERY_VALUE) != ERROR_SUCCESS)
    {
        m_bEnableBGM = m_bEnableSound = m_bEnableMovie = TRUE;
    }
    else
    {
        m_bEnableBGM = ReadSwitch(keyConfigs, kEnableBGM, TRUE);
        m_bEnableSound = ReadSwitch(keyConfigs, kEnableSound, TRUE);
        m_bEnableMovie = ReadSwitch(keyConfigs, kEnableMovie, TRUE);
    }
    m_proxy.Load();
}

// The handles hold only the right to set values, which deleting one needs too. Creating a missing
// key needs the right to create subkeys on the application key, which holds it where it may.
BOOL CStartupSettings::OpenForSaving(CRegKey& keyConfigs, CRegKey& keyLogin) const
{
    return m_hAppKey != nullptr &&
           keyConfigs.Create(m_hAppKey, kConfigs, KEY_SET_VALUE) == ERROR_SUCCESS &&
           m_proxy.OpenForSaving(keyLogin) == ERROR_SUCCESS;
}

BOOL CStartupSettings::CanSave()
{
    CRegKey keyConfigs;
    CRegKey keyLogin;
    return OpenForSaving(keyConfigs, keyLogin);
}

BOOL CStartupSettings::Save()
{
    CRegKey keyConfigs;
    CRegKey keyLogin;
    if (!OpenForSaving(keyConfigs, keyLogin))
        return FALSE;
    BOOL bSaved = WriteSwitch(keyConfigs, kEnableBGM, m_bEnableBGM);
    bSaved = WriteSwitch(keyConfigs, kEnableSound, m_bEnableSound) && bSaved;
    bSaved = WriteSwitch(keyConfigs, kEnableMovie, m_bEnableMovie) && bSaved;
    return m_proxy.Save(keyLogin) && bSaved;
}
