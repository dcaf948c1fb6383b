// The network settings record: loads the Login values below the application key, derives the proxy
// mode, takes the dialog's fields and saves them back with the password scrambled.
#pragma once

#include "framework/CString.h"
#include "framework/CWideText.h"
#include "settings/ProxyMode.h"

#include <windows.h>

class CRegKey;

class CProxySettings
{
public:
    // The stored texts that a save with an explicit proxy can leave as they are (m_nKept).
    enum StoredText : UINT
    {
        KeepServer = 1,
        KeepUser = 2,
        KeepPassword = 4,
    };

    // hKey: the application key (may be null). bOwnKey: the destructor closes it.
    CProxySettings(HKEY hKey, BOOL bLoadNow, BOOL bOwnKey);
    virtual ~CProxySettings();
    // A record owns its key handle: copies would close it twice.
    CProxySettings(const CProxySettings&) = delete;
    CProxySettings& operator=(const CProxySettings&) = delete;

    // Reads the four values through one open of Login that asks to query values only (the key is
    // created where missing, empty), so that a key the user may read but not write still shows
    // what it holds.
    virtual void Load();
    // Opens Login to set values (created where missing) and writes into it. TRUE when every value
    // was written (or deleted, or already absent, or kept).
    virtual BOOL Save();
    // Writes into Login, opened to set values, in the stored order: UseProxy, ProxyServer,
    // ProxyUser, ProxyPasswd. Deleting a value needs no more than the right to set values.
    BOOL Save(CRegKey& keyLogin);

    // Whether the key that Save writes opens with the access Save uses (created where missing).
    BOOL CanSave();
    // Opens Login into keyLogin to set values, which deleting one needs too (created where
    // missing: that needs the right to create subkeys on the application key).
    LONG OpenForSaving(CRegKey& keyLogin) const;

    void Set(BOOL bUseProxy, BOOL bPreconfig, const char* lpszHost, UINT nPort,
             const char* lpszUser, const char* lpszPassword);

    // The server text as read, split at its first ':' into the host and the port part as stored,
    // as text: a port part that is no number stays as it is, for the port's own check to judge.
    // "80" when there is no ':' or nothing after it. The UTF-16 text has no double-byte
    // characters, so its first ':' is the colon the stored text means.
    void SplitServer(CWideText& host, CWideText& port) const;

    // Whether a host (in the system's ANSI code page, as stored) reads back as itself from the
    // server text: FALSE when it holds a ':' byte, which the reading takes for the start of the
    // port. No code page with double-byte characters uses ':' as a trail byte, so any ':' byte is
    // a colon, also one right after a lead byte (which is then a character that stands alone).
    static BOOL IsStorableHost(const char* lpszHost);
    // Whether the host text names a server at all: FALSE when it is empty or nothing but blanks
    // (spaces and tabs).
    static BOOL NamesAServer(LPCWSTR lpszHost);

    DWORD ReadDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwDefault);
    BOOL WriteDwordValue(const char* lpszSubKey, const char* lpszValue, DWORD dwValue);
    // Writes a REG_SZ, or deletes the value when lpszText is null.
    BOOL WriteStringValue(const char* lpszSubKey, const char* lpszValue, const char* lpszText);
    CString ReadStringValue(const char* lpszSubKey, const char* lpszValue, const char* lpszDefault);

    HKEY m_hKey;
    BOOL m_bOwnKey;
    ProxyMode m_nProxyMode;
    // The texts in the system's ANSI code page, the one the A functions read and write. Load
    // makes the server and user texts from the UTF-16 texts below ('?' for a character the code
    // page lacks).
    CString m_strProxyServer;
    CString m_strProxyUser;
    CString m_strProxyPasswd;
    // The server and user texts as Load read them, in UTF-16 as the registry keeps them, with
    // every character as it was stored; empty when the value did not read.
    CWideText m_wideProxyServer;
    CWideText m_wideProxyUser;
    // The stored texts that a save with an explicit proxy leaves as they are instead of writing
    // the texts above (StoredText flags): what the player did not change is not rewritten. Only
    // the caller sets it.
    UINT m_nKept = 0;

private:
    // Creates or opens the subkey below m_hKey into key with the rights the step uses.
    LONG OpenSubKey(const char* lpszSubKey, CRegKey& key, REGSAM samDesired) const;
    BOOL IsKept(StoredText value) const { return (m_nKept & value) != 0; }
    BOOL SavePassword(CRegKey& keyLogin) const;
};
