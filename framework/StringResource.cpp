#include "framework/StringResource.h"

#include "framework/CString.h"
#include "framework/ModuleState.h"

#include <stdlib.h>

namespace
{
// On systems older than Windows 2000 there is no per-thread ANSI code page: take the default ANSI
// code page of the thread's locale, falling back to the system's.
UINT LocaleAnsiCodePage()
{
    char szCodePage[8] = {};
    if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, szCodePage,
                       sizeof(szCodePage)) != 0)
    {
        const UINT nCodePage = static_cast<UINT>(atoi(szCodePage));
        if (nCodePage != 0)
            return nCodePage;
    }
    return GetACP();
}

UINT ChooseConversionCodePage()
{
    const DWORD dwVersion = GetVersion();
    const bool bNT = (dwVersion & 0x80000000) == 0;
    if (bNT && LOBYTE(LOWORD(dwVersion)) >= 5)
        return CP_THREAD_ACP;
    return LocaleAnsiCodePage();
}

// The entry of nID in its block, or null with *pnLength 0 when there is none.
const WCHAR* FindStringEntry(HINSTANCE hInstance, UINT nID, int* pnLength)
{
    *pnLength = 0;
    HRSRC hResource = FindResourceA(hInstance, MAKEINTRESOURCEA((nID >> 4) + 1), RT_STRING);
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hData = LoadResource(hInstance, hResource);
    const DWORD cbBlock = SizeofResource(hInstance, hResource);
    const WCHAR* pch = hData != nullptr ? static_cast<const WCHAR*>(LockResource(hData)) : nullptr;
    if (pch == nullptr)
        return nullptr;
    const WCHAR* pEnd = pch + cbBlock / sizeof(WCHAR);
    for (UINT nEntry = nID & 15; nEntry > 0; --nEntry)
    {
        if (pch >= pEnd)
            return nullptr;
        pch += 1 + *pch; // skip one length-prefixed entry
    }
    if (pch >= pEnd || pch + 1 + *pch > pEnd)
        return nullptr;
    *pnLength = *pch;
    return pch + 1;
}
} // namespace

UINT AfxGetConversionCodePage()
{
    static const UINT s_nCodePage = ChooseConversionCodePage();
    return s_nCodePage;
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    if (FindResourceA(hInstance, MAKEINTRESOURCEA((nID >> 4) + 1), RT_STRING) == nullptr)
        return nullptr;
    return hInstance;
}

BOOL AfxLoadString(UINT nID, CString& rString)
{
    HINSTANCE hInstance = AfxFindStringResourceHandle(nID);
    if (hInstance == nullptr)
        return FALSE;
    int cchWide = 0;
    const WCHAR* pchWide = FindStringEntry(hInstance, nID, &cchWide);
    if (pchWide == nullptr || cchWide == 0)
        return FALSE;

    // Measure first, then convert into a string of exactly that size.
    const UINT nCodePage = AfxGetConversionCodePage();
    const int cbText =
        WideCharToMultiByte(nCodePage, 0, pchWide, cchWide, nullptr, 0, nullptr, nullptr);
    if (cbText <= 0)
        return FALSE;
    CString strText;
    char* pchText = strText.GetBufferSetLength(cbText);
    if (pchText == nullptr)
        return FALSE;
    WideCharToMultiByte(nCodePage, 0, pchWide, cchWide, pchText, cbText, nullptr, nullptr);
    rString = static_cast<CString&&>(strText);
    return TRUE;
}
