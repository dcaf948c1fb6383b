#include "framework/CWideText.h"

#include "framework/CString.h"

#include <stdlib.h>
#include <string.h>

CWideText::CWideText(const char* lpsz, UINT nCodePage)
{
    if (lpsz == nullptr || *lpsz == '\0')
        return;
    const int cb = static_cast<int>(strlen(lpsz));
    const int cch = MultiByteToWideChar(nCodePage, 0, lpsz, cb, nullptr, 0);
    if (cch > 0 && Allocate(cch))
        m_nLength = MultiByteToWideChar(nCodePage, 0, lpsz, cb, m_pwch, cch);
    if (m_pwch != nullptr)
        m_pwch[m_nLength] = L'\0';
}

CWideText::CWideText(const WCHAR* pwch, int nLength)
{
    if (pwch == nullptr || nLength <= 0 || !Allocate(nLength))
        return;
    memcpy(m_pwch, pwch, static_cast<size_t>(nLength) * sizeof(WCHAR));
    m_pwch[nLength] = L'\0';
    m_nLength = nLength;
}

CWideText::CWideText(const CWideText& other) : CWideText(other.m_pwch, other.m_nLength) {}

CWideText& CWideText::operator=(const CWideText& other)
{
    if (this != &other)
    {
        CWideText copy(other);
        WCHAR* pwch = m_pwch;
        m_pwch = copy.m_pwch;
        m_nLength = copy.m_nLength;
        copy.m_pwch = pwch;
    }
    return *this;
}

bool CWideText::operator==(const CWideText& other) const
{
    return m_nLength == other.m_nLength &&
           (m_nLength == 0 ||
            memcmp(m_pwch, other.m_pwch, static_cast<size_t>(m_nLength) * sizeof(WCHAR)) == 0);
}

int CWideText::Find(WCHAR ch) const
{
    for (int i = 0; i < m_nLength; ++i)
    {
        if (m_pwch[i] == ch)
            return i;
    }
    return -1;
}

CWideText CWideText::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0 || nFirst >= m_nLength || nCount <= 0)
        return CWideText();
    if (nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CWideText(m_pwch + nFirst, nCount);
}

CWideText::~CWideText()
{
    free(m_pwch);
}

// Room for nLength characters and the terminator, which is set.
bool CWideText::Allocate(int nLength)
{
    m_pwch = static_cast<WCHAR*>(malloc((static_cast<size_t>(nLength) + 1) * sizeof(WCHAR)));
    if (m_pwch != nullptr)
        m_pwch[0] = L'\0';
    return m_pwch != nullptr;
}

BOOL CWideText::ToMultiByte(UINT nCodePage, CString& rText) const
{
    if (m_nLength == 0)
    {
        rText.Empty();
        return TRUE;
    }
    DWORD dwFlags = WC_NO_BEST_FIT_CHARS;
    BOOL bUsedDefault = FALSE;
    BOOL* pbUsedDefault = &bUsedDefault;
    int cb = WideCharToMultiByte(nCodePage, dwFlags, m_pwch, m_nLength, nullptr, 0, nullptr,
                                 pbUsedDefault);
    if (cb == 0 && GetLastError() == ERROR_INVALID_PARAMETER)
    {
        // UTF-8 (also as the ANSI code page) takes neither the flag nor the question: it holds
        // every character anyway.
        dwFlags = 0;
        pbUsedDefault = nullptr;
        cb = WideCharToMultiByte(nCodePage, 0, m_pwch, m_nLength, nullptr, 0, nullptr, nullptr);
    }
    char* pch = cb > 0 ? rText.GetBufferSetLength(cb) : nullptr;
    if (pch == nullptr)
    {
        rText.Empty();
        return FALSE;
    }
    WideCharToMultiByte(nCodePage, dwFlags, m_pwch, m_nLength, pch, cb, nullptr, pbUsedDefault);
    rText.ReleaseBuffer(cb);
    return !bUsedDefault;
}
