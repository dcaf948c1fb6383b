// An open registry key, closed when the object goes: opened or created with the access the caller
// states, with typed reads and writes of its values. Every call answers the registry's own status
// (ERROR_SUCCESS or an error code).
#pragma once

#include <windows.h>

class CString;
class CWideText;

class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey();
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    operator HKEY() const { return m_hKey; }

    // Opens an existing key; the key held before is closed once the new one is open.
    LONG Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired);
    // Opens the key, creating it (non-volatile, no class, default security) where it is missing.
    LONG Create(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired);
    LONG Close();

    // Takes over an open key (or null); the key held before is closed.
    void Attach(HKEY hKey);
    // Hands the key over to the caller, who closes it.
    HKEY Detach();

    // The value's data as stored, whatever its type: at most *pnBytes bytes into pData, the type
    // into *pdwType (may be null); *pnBytes becomes the data's size. Data that does not fit fails
    // with ERROR_MORE_DATA.
    LONG QueryValue(LPCSTR lpszValueName, DWORD* pdwType, void* pData, ULONG* pnBytes) const;
    // A REG_DWORD value. Data shorter than four bytes reads zero-extended; longer data, or a value
    // of another type, fails and leaves dwValue as it was.
    LONG QueryDWORDValue(LPCSTR lpszValueName, DWORD& dwValue) const;
    // A REG_SZ value, up to its first zero byte, or all of it when it was stored without one. A
    // value of another type (REG_EXPAND_SZ too) fails and leaves strValue as it was.
    LONG QueryStringValue(LPCSTR lpszValueName, CString& strValue) const;
    // The same value in UTF-16, as the registry keeps it: characters that the system's code page
    // lacks come back as they were stored. Read in one request when it is short.
    LONG QueryStringValue(LPCSTR lpszValueName, CWideText& text) const;

    // Writes a REG_DWORD: four bytes, little-endian.
    LONG SetDWORDValue(LPCSTR lpszValueName, DWORD dwValue);
    // Writes a REG_SZ: the text and its terminating zero.
    LONG SetStringValue(LPCSTR lpszValueName, LPCSTR lpszValue);
    // ERROR_FILE_NOT_FOUND when the value was not there.
    LONG DeleteValue(LPCSTR lpszValueName);

    HKEY m_hKey = nullptr;
};
