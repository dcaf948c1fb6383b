#include "settings/CProxySettings.h"

#include "framework/CRegKey.h"
#include "framework/DecimalText.h"
#include "settings/PasswordCodec.h"

#include <string.h>

namespace
{
const char kLogin[] = "Login";
const char kUseProxy[] = "UseProxy";
const char kProxyServer[] = "ProxyServer";
const char kProxyUser[] = "ProxyUser";
const char kProxyPasswd[] = "ProxyPasswd";
// The port of a server text that names none.
const WCHAR kDefaultPortText[] = L"80";

// A REG_SZ value of the key in UTF-16; empty when it is missing or of another type, or when the
// key did not open.
CWideText ReadText(const CRegKey& key, const char* lpszValue)
{
    CWideText text;
    if (key.m_hKey != nullptr)
        key.QueryStringValue(lpszValue, text);
    return text;
}

// The text in the system's ANSI code page, '?' for a character that the code page lacks.
CString InAnsiCodePage(const CWideText& text)
{
    CString strText;
    text.ToMultiByte(CP_ACP, strText);
    return strText;
}

// The password that a stored text unscrambles to; empty when there is none or it does not
// unscramble.
CString UnscrambledPassword(const CString& strScrambled)
{
    CString strPassword;
    char* pszPassword = nullptr;
    if (!strScrambled.IsEmpty())
        UnscramblePassword(strScrambled, PROXY_PASSWD_KEY, &pszPassword);
    if (pszPassword != nullptr)
    {
        strPassword = pszPassword;
        FreePasswordBuffer(pszPassword);
    }
    return strPassword;
}

// Success also for a value that was not there.
bool IsGone(LONG lResult)
{
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}
} // namespace

CProxySettings::CProxySettings(HKEY hKey, BOOL bLoadNow, BOOL bOwnKey)
    : m_hKey(hKey), m_bOwnKey(bOwnKey), m_nProxyMode(Direct)
{
    if (bLoadNow)
        Load();
}

CProxySettings::~CProxySettings()
{
    if (m_bOwnKey && m_hKey != nullptr)
    {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

// The subkey's handle holds only the rights asked for here. Creating a missing subkey needs the
// right to create subkeys on m_hKey (the application key holds it where it may).
LONG CProxySettings::OpenSubKey(const char* lpszSubKey, CRegKey& key, REGSAM samDesired) const
{
    if (m_hKey == nullptr || lpszSubKey == nullptr)
        return ERROR_INVALID_HANDLE;
    return key.Create(m_hKey, lpszSubKey, samDesired);
}

DWORD CProxySettings::ReadDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwDefault)
{
    CRegKey key;
    DWORD dwValue = dwDefault;
    if (OpenSubKey(lpszSubKey, key, KEY_QUERY_VALUE) == ERROR_SUCCESS)
        key.QueryDWORDValue(lpszValue, dwValue);
    return dwValue;
}

BOOL CProxySettings::WriteDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwValue)
{
    CRegKey key;
    return OpenSubKey(lpszSubKey, key, KEY_SET_VALUE) == ERROR_SUCCESS &&
           key.SetDWORDValue(lpszValue, dwValue) == ERROR_SUCCESS;
}

BOOL CProxySettings::WriteStringValue(const char* lpszSubKey, const char* lpszValue,
                                      const char* lpszText)
{
    CRegKey key;
    if (OpenSubKey(lpszSubKey, key, KEY_SET_VALUE) != ERROR_SUCCESS)
        return FALSE;
    const LONG lResult =
        lpszText != nullptr ? key.SetStringValue(lpszValue, lpszText) : key.DeleteValue(lpszValue);
    return lResult == ERROR_SUCCESS;
}

CString CProxySettings::ReadStringValue(const char* lpszSubKey, const char* lpszValue,
                                        const char* lpszDefault)
{
    CRegKey key;
    CString strText(lpszDefault);
    if (OpenSubKey(lpszSubKey, key, KEY_QUERY_VALUE) == ERROR_SUCCESS)
        key.QueryStringValue(lpszValue, strText);
    return strText;
}

LONG CProxySettings::OpenForSaving(CRegKey& keyLogin) const
{
    return OpenSubKey(kLogin, keyLogin, KEY_SET_VALUE);
}

BOOL CProxySettings::CanSave()
{
    CRegKey keyLogin;
    return OpenForSaving(keyLogin) == ERROR_SUCCESS;
}

void CProxySettings::Load()
{
    CRegKey keyLogin;
    DWORD dwUseProxy = Preconfig; // a missing value: the server text tells the mode
    if (OpenSubKey(kLogin, keyLogin, KEY_QUERY_VALUE) == ERROR_SUCCESS)
        keyLogin.QueryDWORDValue(kUseProxy, dwUseProxy);
    m_wideProxyServer = ReadText(keyLogin, kProxyServer);
    m_wideProxyUser = ReadText(keyLogin, kProxyUser);
    m_strProxyServer = InAnsiCodePage(m_wideProxyServer);
    m_strProxyUser = InAnsiCodePage(m_wideProxyUser);
    // The stored text is Text6, plain ASCII: its ANSI form is exact.
    m_strProxyPasswd = UnscrambledPassword(InAnsiCodePage(ReadText(keyLogin, kProxyPasswd)));

    // The stored UseProxy only tells Direct from the rest; the server text tells the rest apart.
    if (dwUseProxy == Direct)
        m_nProxyMode = Direct;
    else if (!m_strProxyServer.IsEmpty())
        m_nProxyMode = NamedProxy;
    else
        m_nProxyMode = Preconfig;
}

BOOL CProxySettings::Save()
{
    CRegKey keyLogin;
    return OpenForSaving(keyLogin) == ERROR_SUCCESS && Save(keyLogin);
}

BOOL CProxySettings::Save(CRegKey& keyLogin)
{
    const bool bNamed = m_nProxyMode == NamedProxy;
    BOOL bSaved =
        keyLogin.SetDWORDValue(kUseProxy, static_cast<DWORD>(m_nProxyMode)) == ERROR_SUCCESS;
    if (!bNamed || !IsKept(KeepServer))
    {
        const char* pszServer =
            m_nProxyMode == Preconfig ? "" : static_cast<const char*>(m_strProxyServer);
        bSaved = keyLogin.SetStringValue(kProxyServer, pszServer) == ERROR_SUCCESS && bSaved;
    }
    if (bNamed)
    {
        if (!IsKept(KeepUser))
            bSaved = keyLogin.SetStringValue(kProxyUser, m_strProxyUser) == ERROR_SUCCESS && bSaved;
        if (!IsKept(KeepPassword))
            bSaved = SavePassword(keyLogin) && bSaved;
    }
    else
    {
        bSaved = IsGone(keyLogin.DeleteValue(kProxyUser)) && bSaved;
        bSaved = IsGone(keyLogin.DeleteValue(kProxyPasswd)) && bSaved;
    }
    return bSaved;
}

// The password scrambled anew; an empty password scrambles to nothing, which deletes the stored
// one.
BOOL CProxySettings::SavePassword(CRegKey& keyLogin) const
{
    char* pszScrambled = nullptr;
    ScramblePassword(m_strProxyPasswd, PROXY_PASSWD_KEY, &pszScrambled);
    if (pszScrambled == nullptr)
        return IsGone(keyLogin.DeleteValue(kProxyPasswd));
    const LONG lResult = keyLogin.SetStringValue(kProxyPasswd, pszScrambled);
    FreePasswordBuffer(pszScrambled);
    return lResult == ERROR_SUCCESS;
}

void CProxySettings::Set(BOOL bUseProxy, BOOL bPreconfig, const char* lpszHost, UINT nPort,
                         const char* lpszUser, const char* lpszPassword)
{
    if (!bUseProxy)
    {
        m_nProxyMode = Direct;
        m_strProxyServer.Empty();
        m_strProxyUser.Empty();
        m_strProxyPasswd.Empty();
        return;
    }
    if (bPreconfig)
    {
        m_nProxyMode = Preconfig;
        m_strProxyServer.Empty();
    }
    else
    {
        m_nProxyMode = NamedProxy;
        // "host:port", the port in decimal.
        const char* pszHost = lpszHost != nullptr ? lpszHost : "";
        char szPort[AFX_DECIMAL_TEXT_SIZE];
        const int cchPort = AfxFormatDecimal(nPort, szPort);
        const int cchHost = static_cast<int>(strlen(pszHost));
        char* pch = m_strProxyServer.GetBufferSetLength(cchHost + 1 + cchPort);
        if (pch != nullptr)
        {
            memcpy(pch, pszHost, static_cast<size_t>(cchHost));
            pch[cchHost] = ':';
            memcpy(pch + cchHost + 1, szPort, static_cast<size_t>(cchPort) + 1);
        }
    }
    m_strProxyUser = lpszUser;
    m_strProxyPasswd = lpszPassword;
}

BOOL CProxySettings::IsStorableHost(const char* lpszHost)
{
    return lpszHost == nullptr || strchr(lpszHost, ':') == nullptr;
}

BOOL CProxySettings::NamesAServer(LPCWSTR lpszHost)
{
    return lpszHost != nullptr && lpszHost[wcsspn(lpszHost, L" \t")] != L'\0';
}

void CProxySettings::SplitServer(CWideText& host, CWideText& port) const
{
    const int nColon = m_wideProxyServer.Find(L':');
    host = nColon < 0 ? m_wideProxyServer : m_wideProxyServer.Mid(0, nColon);
    port =
        nColon < 0 ? CWideText() : m_wideProxyServer.Mid(nColon + 1, m_wideProxyServer.GetLength());
    if (port.IsEmpty())
        port = CWideText(kDefaultPortText, static_cast<int>(wcslen(kDefaultPortText)));
}
