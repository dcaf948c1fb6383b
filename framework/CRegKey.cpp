#include "framework/CRegKey.h"

#include "framework/CString.h"
#include "framework/CWideText.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

CRegKey::~CRegKey()
{
    Close();
}

LONG CRegKey::Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired)
{
    HKEY hKey = nullptr;
    const LONG lResult = RegOpenKeyExA(hKeyParent, lpszKeyName, 0, samDesired, &hKey);
    if (lResult == ERROR_SUCCESS)
        Attach(hKey);
    return lResult;
}

LONG CRegKey::Create(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired)
{
    HKEY hKey = nullptr;
    const LONG lResult =
        RegCreateKeyExA(hKeyParent, lpszKeyName, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired,
                        nullptr, &hKey, nullptr);
    if (lResult == ERROR_SUCCESS)
        Attach(hKey);
    return lResult;
}

LONG CRegKey::Close()
{
    if (m_hKey == nullptr)
        return ERROR_SUCCESS;
    const LONG lResult = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return lResult;
}

void CRegKey::Attach(HKEY hKey)
{
    if (hKey != m_hKey)
        Close();
    m_hKey = hKey;
}

HKEY CRegKey::Detach()
{
    HKEY hKey = m_hKey;
    m_hKey = nullptr;
    return hKey;
}

LONG CRegKey::QueryValue(LPCSTR lpszValueName, DWORD* pdwType, void* pData, ULONG* pnBytes) const
{
    return RegQueryValueExA(m_hKey, lpszValueName, nullptr, pdwType, static_cast<LPBYTE>(pData),
                            pnBytes);
}

LONG CRegKey::QueryDWORDValue(LPCSTR lpszValueName, DWORD& dwValue) const
{
    // Cleared first, so that shorter data reads zero-extended.
    DWORD dwData = 0;
    DWORD dwType = 0;
    ULONG cbData = sizeof(dwData);
    const LONG lResult = QueryValue(lpszValueName, &dwType, &dwData, &cbData);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    if (dwType != REG_DWORD)
        return ERROR_INVALID_DATA;
    dwValue = dwData;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryStringValue(LPCSTR lpszValueName, CString& strValue) const
{
    DWORD dwType = 0;
    ULONG cbData = 0;
    LONG lResult = QueryValue(lpszValueName, &dwType, nullptr, &cbData);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    if (dwType != REG_SZ)
        return ERROR_INVALID_DATA;

    // One byte more than the data, so that text stored without its terminating zero still ends
    // inside the buffer.
    CString strText;
    char* pch = strText.GetBufferSetLength(static_cast<int>(cbData));
    if (pch == nullptr)
        return ERROR_OUTOFMEMORY;
    memset(pch, 0, cbData + 1);
    lResult = QueryValue(lpszValueName, &dwType, pch, &cbData);
    strText.ReleaseBuffer(-1);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    if (dwType != REG_SZ)
        return ERROR_INVALID_DATA;
    strValue = static_cast<CString&&>(strText);
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryStringValue(LPCSTR lpszValueName, CWideText& text) const
{
    const CWideText name(lpszValueName, CP_ACP);
    const LPCWSTR pszName = lpszValueName != nullptr ? static_cast<LPCWSTR>(name) : nullptr;
    // Most values fit here; a longer one is read again into a buffer of its size. One unit more
    // than the data, so that text stored without its terminating zero still ends inside.
    WCHAR szShort[128];
    WCHAR* pwch = szShort;
    DWORD dwType = 0;
    DWORD cbData = sizeof(szShort) - sizeof(WCHAR);
    LONG lResult = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType,
                                    reinterpret_cast<LPBYTE>(pwch), &cbData);
    if ((lResult == ERROR_SUCCESS || lResult == ERROR_MORE_DATA) && dwType != REG_SZ)
        return ERROR_INVALID_DATA;
    WCHAR* pwchLong = nullptr;
    if (lResult == ERROR_MORE_DATA)
    {
        pwchLong = static_cast<WCHAR*>(malloc(cbData + sizeof(WCHAR)));
        if (pwchLong == nullptr)
            return ERROR_OUTOFMEMORY;
        pwch = pwchLong;
        lResult = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType,
                                   reinterpret_cast<LPBYTE>(pwch), &cbData);
    }
    if (lResult == ERROR_SUCCESS && dwType != REG_SZ)
        lResult = ERROR_INVALID_DATA;
    if (lResult == ERROR_SUCCESS)
    {
        int nLength = static_cast<int>(cbData / sizeof(WCHAR));
        pwch[nLength] = L'\0';
        nLength = static_cast<int>(wcslen(pwch));
        text = CWideText(pwch, nLength);
    }
    free(pwchLong);
    return lResult;
}

LONG CRegKey::SetDWORDValue(LPCSTR lpszValueName, DWORD dwValue)
{
    const BYTE data[4] = {static_cast<BYTE>(dwValue), static_cast<BYTE>(dwValue >> 8),
                          static_cast<BYTE>(dwValue >> 16), static_cast<BYTE>(dwValue >> 24)};
    return RegSetValueExA(m_hKey, lpszValueName, 0, REG_DWORD, data, sizeof(data));
}

LONG CRegKey::SetStringValue(LPCSTR lpszValueName, LPCSTR lpszValue)
{
    return RegSetValueExA(m_hKey, lpszValueName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(lpszValue),
                          static_cast<DWORD>(strlen(lpszValue) + 1));
}

LONG CRegKey::DeleteValue(LPCSTR lpszValueName)
{
    return RegDeleteValueA(m_hKey, lpszValueName);
}
