#include "framework/StringResource.h"

#include "framework/CString.h"
#include "framework/FrameworkIds.h"
#include "framework/ModuleState.h"

namespace
{
const LPCWSTR kStringType = MAKEINTRESOURCEW(6); // RT_STRING

LPCWSTR StringBlockName(UINT nID)
{
    return MAKEINTRESOURCEW((nID >> 4) + 1);
}

// The code page in which texts of a language are written. The three language sets are named
// outright; any other language gets its locale's ANSI code page, or the system's.
UINT CodePageOfLanguage(LANGID wLanguage)
{
    switch (PRIMARYLANGID(wLanguage))
    {
        case LANG_KOREAN:
            return 949;
        case LANG_JAPANESE:
            return 932;
        case LANG_CHINESE:
            return 950; // the Traditional Chinese set
    }
    DWORD dwCodePage = 0;
    if (PRIMARYLANGID(wLanguage) != LANG_NEUTRAL &&
        GetLocaleInfoW(
            MAKELCID(wLanguage, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
            reinterpret_cast<LPWSTR>(&dwCodePage), sizeof(dwCodePage) / sizeof(WCHAR)) != 0 &&
        dwCodePage != 0)
        return dwCodePage;
    return GetACP();
}

// Which language of a resource the loader's answer is: the one whose explicit lookup gives the
// same entry.
struct LanguageSearch
{
    HRSRC hFound;
    LANGID wLanguage;
    bool bKnown;
};

BOOL CALLBACK MatchLanguage(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage,
                            LONG_PTR lParam)
{
    auto* pSearch = reinterpret_cast<LanguageSearch*>(lParam);
    if (FindResourceExW(hModule, lpType, lpName, wLanguage) != pSearch->hFound)
        return TRUE;
    pSearch->wLanguage = wLanguage;
    pSearch->bKnown = true;
    return FALSE; // found: stop
}

// The block of nID as the loader picks it for a request without language (by the user's language
// settings), with the code page of the language it is in.
HRSRC FindStringBlock(HINSTANCE hInstance, UINT nID, UINT* pnCodePage)
{
    HRSRC hResource = FindResourceW(hInstance, StringBlockName(nID), kStringType);
    if (hResource == nullptr)
        return nullptr;
    LanguageSearch search = {hResource, 0, false};
    EnumResourceLanguagesW(hInstance, kStringType, StringBlockName(nID), &MatchLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
    *pnCodePage = search.bKnown ? CodePageOfLanguage(search.wLanguage) : GetACP();
    return hResource;
}

// The entry of nID in its block, or null with *pnLength 0 when there is none.
const WCHAR* FindStringEntry(HINSTANCE hInstance, HRSRC hResource, UINT nID, int* pnLength)
{
    *pnLength = 0;
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

UINT AfxGetStringCodePage(UINT nID)
{
    UINT nCodePage = GetACP();
    FindStringBlock(AfxGetResourceHandle(), nID, &nCodePage);
    return nCodePage;
}

UINT AfxGetConversionCodePage()
{
    return AfxGetStringCodePage(AFX_IDS_APP_TITLE);
}

BOOL AfxLoadString(UINT nID, CString& rString)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    UINT nCodePage = 0;
    HRSRC hResource = FindStringBlock(hInstance, nID, &nCodePage);
    if (hResource == nullptr)
        return FALSE;
    int cchWide = 0;
    const WCHAR* pchWide = FindStringEntry(hInstance, hResource, nID, &cchWide);
    if (pchWide == nullptr || cchWide == 0)
        return FALSE;

    // Measure first, then convert into a string of exactly that size.
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
