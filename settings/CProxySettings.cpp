#include "settings/CProxySettings.h"

#include "framework/CRegKey.h"
#include "framework/DecimalText.h"
#include "settings/PasswordCodec.h"
#include "settings/PortText.h"

#include <string.h>

namespace
{
const char kLogin[] = "Login";
const char kUseProxy[] = "UseProxy";
const char kProxyServer[] = "ProxyServer";
const char kProxyUser[] = "ProxyUser";
const char kProxyPasswd[] = "ProxyPasswd";
const UINT kDefaultPort = 80;

// The first ':' of the server text that is a character of its own, not the trail byte of a
// double-byte character of the user's code page.
int FindColon(const CString& strServer)
{
    const char* psz = strServer;
    for (int i = 0; psz[i] != '\0'; ++i)
    {
        if (IsDBCSLeadByte(static_cast<BYTE>(psz[i])))
        {
            if (psz[i + 1] == '\0')
                break;
            ++i;
        }
        else if (psz[i] == ':')
        {
            return i;
        }
    }
    return -1;
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

// Every value is read or written with its own create-or-open of the subkey, closed again when the
// accessor returns; nothing is cached.
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
    if (OpenSubKey(lpszSubKey, key, KEY_READ) == ERROR_SUCCESS)
        key.QueryDWORDValue(lpszValue, dwValue);
    return dwValue;
}

BOOL CProxySettings::WriteDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwValue)
{
    CRegKey key;
    return OpenSubKey(lpszSubKey, key, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           key.SetDWORDValue(lpszValue, dwValue) == ERROR_SUCCESS;
}

BOOL CProxySettings::WriteStringValue(const char* lpszSubKey, const char* lpszValue,
                                      const char* lpszText)
{
    CRegKey key;
    if (OpenSubKey(lpszSubKey, key, KEY_ALL_ACCESS) != ERROR_SUCCESS)
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
    if (OpenSubKey(lpszSubKey, key, KEY_READ) == ERROR_SUCCESS)
        key.QueryStringValue(lpszValue, strText);
    return strText;
}

BOOL CProxySettings::DeleteValue(const char* lpszSubKey, const char* lpszValue)
{
    CRegKey key;
    if (OpenSubKey(lpszSubKey, key, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return FALSE;
    const LONG lResult = key.DeleteValue(lpszValue);
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}

BOOL CProxySettings::CanSave()
{
    CRegKey key;
    return OpenSubKey(kLogin, key, KEY_ALL_ACCESS) == ERROR_SUCCESS;
}

void CProxySettings::Load()
{
    m_nProxyMode = Direct;
    m_strProxyServer.Empty();
    m_strProxyUser.Empty();
    m_strProxyPasswd.Empty();

    m_strProxyServer = ReadStringValue(kLogin, kProxyServer, nullptr);
    m_strProxyUser = ReadStringValue(kLogin, kProxyUser, nullptr);

    const CString strScrambled = ReadStringValue(kLogin, kProxyPasswd, nullptr);
    if (!strScrambled.IsEmpty())
    {
        char* pszPassword = nullptr;
        UnscramblePassword(strScrambled, PROXY_PASSWD_KEY, &pszPassword);
        if (pszPassword != nullptr)
        {
            m_strProxyPasswd = pszPassword;
            FreePasswordBuffer(pszPassword);
        }
    }

    // The stored UseProxy only tells Direct from the rest; the server text tells the rest apart.
    if (ReadDwordValue(kLogin, kUseProxy, 0) == Direct)
        m_nProxyMode = Direct;
    else if (!m_strProxyServer.IsEmpty())
        m_nProxyMode = NamedProxy;
    else
        m_nProxyMode = Preconfig;
}

BOOL CProxySettings::Save()
{
    const CString strServer = m_nProxyMode == Preconfig ? CString() : m_strProxyServer;

    BOOL bSaved = WriteDwordValue(kLogin, kUseProxy, static_cast<DWORD>(m_nProxyMode));
    bSaved = WriteStringValue(kLogin, kProxyServer, strServer) && bSaved;

    if (m_nProxyMode == NamedProxy)
    {
        bSaved = WriteStringValue(kLogin, kProxyUser, m_strProxyUser) && bSaved;
        // An empty password scrambles to nothing, which deletes the stored one.
        char* pszScrambled = nullptr;
        ScramblePassword(m_strProxyPasswd, PROXY_PASSWD_KEY, &pszScrambled);
        if (pszScrambled != nullptr)
        {
            bSaved = WriteStringValue(kLogin, kProxyPasswd, pszScrambled) && bSaved;
            FreePasswordBuffer(pszScrambled);
        }
        else
        {
            bSaved = DeleteValue(kLogin, kProxyPasswd) && bSaved;
        }
    }
    else
    {
        bSaved = DeleteValue(kLogin, kProxyUser) && bSaved;
        bSaved = DeleteValue(kLogin, kProxyPasswd) && bSaved;
    }
    return bSaved;
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
    const CString strHost(lpszHost);
    if (FindColon(strHost) >= 0)
        return FALSE;
    // An empty host is stored as it always was; one of blanks alone names no server.
    const char* psz = strHost;
    return *psz == '\0' || psz[strspn(psz, " \t")] != '\0';
}

void CProxySettings::SplitServer(CString& strHost, UINT& nPort) const
{
    const int nColon = FindColon(m_strProxyServer);
    if (nColon < 0)
    {
        strHost = m_strProxyServer;
        nPort = kDefaultPort;
        return;
    }
    strHost = m_strProxyServer.Left(nColon);
    const CString strPort = m_strProxyServer.Mid(nColon + 1);
    nPort = strPort.IsEmpty() ? kDefaultPort : ReadPortText(strPort);
}
