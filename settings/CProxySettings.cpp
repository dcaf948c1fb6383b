#include "settings/CProxySettings.h"

#include "framework/DecimalText.h"
#include "settings/PasswordCodec.h"
#include "settings/PortText.h"

#include <stdlib.h>
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

// Every value is read or written with its own create-or-open of the subkey; nothing is cached.
HKEY CProxySettings::OpenSubKey(const char* lpszSubKey)
{
    if (m_hKey == nullptr || lpszSubKey == nullptr)
        return nullptr;
    HKEY hSubKey = nullptr;
    if (RegCreateKeyExA(m_hKey, lpszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &hSubKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hSubKey;
}

DWORD CProxySettings::ReadDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwDefault)
{
    HKEY hSubKey = OpenSubKey(lpszSubKey);
    if (hSubKey == nullptr)
        return dwDefault;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD cbData = sizeof(dwValue);
    const LONG lResult = RegQueryValueExA(hSubKey, lpszValue, nullptr, &dwType,
                                          reinterpret_cast<LPBYTE>(&dwValue), &cbData);
    RegCloseKey(hSubKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD)
        return dwDefault;
    return dwValue;
}

BOOL CProxySettings::WriteDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwValue)
{
    HKEY hSubKey = OpenSubKey(lpszSubKey);
    if (hSubKey == nullptr)
        return FALSE;
    const BYTE data[4] = {static_cast<BYTE>(dwValue), static_cast<BYTE>(dwValue >> 8),
                          static_cast<BYTE>(dwValue >> 16), static_cast<BYTE>(dwValue >> 24)};
    const LONG lResult = RegSetValueExA(hSubKey, lpszValue, 0, REG_DWORD, data, sizeof(data));
    RegCloseKey(hSubKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CProxySettings::WriteStringValue(const char* lpszSubKey, const char* lpszValue,
                                      const char* lpszText)
{
    HKEY hSubKey = OpenSubKey(lpszSubKey);
    if (hSubKey == nullptr)
        return FALSE;
    LONG lResult;
    if (lpszText != nullptr)
        lResult =
            RegSetValueExA(hSubKey, lpszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszText),
                           static_cast<DWORD>(strlen(lpszText) + 1));
    else
        lResult = RegDeleteValueA(hSubKey, lpszValue);
    RegCloseKey(hSubKey);
    return lResult == ERROR_SUCCESS;
}

CString CProxySettings::ReadStringValue(const char* lpszSubKey, const char* lpszValue,
                                        const char* lpszDefault)
{
    const CString strDefault(lpszDefault);
    HKEY hSubKey = OpenSubKey(lpszSubKey);
    if (hSubKey == nullptr)
        return strDefault;

    DWORD dwType = 0;
    DWORD cbData = 0;
    LONG lResult = RegQueryValueExA(hSubKey, lpszValue, nullptr, &dwType, nullptr, &cbData);
    CString strText;
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ)
    {
        // One byte more than the data, so that text stored without its terminating zero still
        // ends inside the buffer.
        char* pch = strText.GetBufferSetLength(static_cast<int>(cbData));
        if (pch == nullptr)
        {
            lResult = ERROR_OUTOFMEMORY;
        }
        else
        {
            memset(pch, 0, cbData + 1);
            lResult = RegQueryValueExA(hSubKey, lpszValue, nullptr, &dwType,
                                       reinterpret_cast<LPBYTE>(pch), &cbData);
            strText.ReleaseBuffer(-1);
        }
    }
    else
    {
        lResult = ERROR_INVALID_DATA;
    }
    RegCloseKey(hSubKey);

    if (lResult != ERROR_SUCCESS || dwType != REG_SZ)
        return strDefault;
    return strText;
}

BOOL CProxySettings::DeleteValue(const char* lpszSubKey, const char* lpszValue)
{
    HKEY hSubKey = OpenSubKey(lpszSubKey);
    if (hSubKey == nullptr)
        return FALSE;
    const LONG lResult = RegDeleteValueA(hSubKey, lpszValue);
    RegCloseKey(hSubKey);
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}

BOOL CProxySettings::CanSave()
{
    HKEY hSubKey = OpenSubKey(kLogin);
    if (hSubKey == nullptr)
        return FALSE;
    RegCloseKey(hSubKey);
    return TRUE;
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
