// The network settings record: loads the Login values below the application key, derives the proxy
// mode, takes the dialog's fields and saves them back with the password scrambled.
#pragma once

#include "framework/CString.h"
#include "settings/ProxyMode.h"

#include <windows.h>

class CRegKey;

class CProxySettings
{
public:
    // hKey: the application key (may be null). bOwnKey: the destructor closes it.
    CProxySettings(HKEY hKey, BOOL bLoadNow, BOOL bOwnKey);
    virtual ~CProxySettings();
    // A record owns its key handle: copies would close it twice.
    CProxySettings(const CProxySettings&) = delete;
    CProxySettings& operator=(const CProxySettings&) = delete;

    virtual void Load();
    // TRUE when every value was written (or deleted, or already absent).
    virtual BOOL Save();

    // Whether the key that Save writes opens with the access Save uses (created where missing).
    BOOL CanSave();

    void Set(BOOL bUseProxy, BOOL bPreconfig, const char* lpszHost, UINT nPort,
             const char* lpszUser, const char* lpszPassword);

    // Host and port from the stored server text "host:port"; port 80 when it names none.
    void SplitServer(CString& strHost, UINT& nPort) const;

    // Whether a host (in the system's ANSI code page, as stored) reads back as itself from the
    // server text: FALSE when it holds a ':' character, which the reading takes for the start of
    // the port, or when it is nothing but blanks. An empty host is stored as it always was.
    static BOOL IsStorableHost(const char* lpszHost);

    DWORD ReadDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwDefault);
    BOOL WriteDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwValue);
    // Writes a REG_SZ, or deletes the value when lpszText is null.
    BOOL WriteStringValue(const char* lpszSubKey, const char* lpszValue, const char* lpszText);
    CString ReadStringValue(const char* lpszSubKey, const char* lpszValue, const char* lpszDefault);

    HKEY m_hKey;
    BOOL m_bOwnKey;
    ProxyMode m_nProxyMode;
    CString m_strProxyServer;
    CString m_strProxyUser;
    CString m_strProxyPasswd;

private:
    // Creates or opens the subkey below m_hKey into key: for reading only (KEY_READ), so that a
    // key the user may read but not write still shows its values, or with full access for writing.
    LONG OpenSubKey(const char* lpszSubKey, CRegKey& key, REGSAM samDesired) const;
    // TRUE when the value is gone afterwards, also when it was not there.
    BOOL DeleteValue(const char* lpszSubKey, const char* lpszValue);
};
