#include "framework/CString.h"

#include "framework/StringResource.h"

#include <stdlib.h>
#include <string.h>

namespace
{
char g_chEmpty = '\0';
}

CString::CString() : m_pch(&g_chEmpty), m_nLength(0), m_nCapacity(0) {}

CString::CString(const char* psz) : CString()
{
    if (psz != nullptr)
        Assign(psz, static_cast<int>(strlen(psz)));
}

CString::CString(const char* pch, int nLength) : CString()
{
    if (pch != nullptr && nLength > 0)
        Assign(pch, nLength);
}

CString::CString(const CString& other) : CString()
{
    Assign(other.m_pch, other.m_nLength);
}

CString::CString(CString&& other) noexcept
    : m_pch(other.m_pch), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity)
{
    other.m_pch = &g_chEmpty;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
}

CString::~CString()
{
    if (m_nCapacity != 0)
        free(m_pch);
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pch, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other)
    {
        if (m_nCapacity != 0)
            free(m_pch);
        m_pch = other.m_pch;
        m_nLength = other.m_nLength;
        m_nCapacity = other.m_nCapacity;
        other.m_pch = &g_chEmpty;
        other.m_nLength = 0;
        other.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    if (psz == nullptr)
        Empty();
    else if (psz >= m_pch && psz <= m_pch + m_nLength)
        *this = CString(psz); // assigning a part of ourselves: copy before reallocating
    else
        Assign(psz, static_cast<int>(strlen(psz)));
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    const CString copy(other); // other may be *this
    const int nOld = m_nLength;
    if (Reserve(nOld + copy.m_nLength))
    {
        memcpy(m_pch + nOld, copy.m_pch, copy.m_nLength + 1);
        m_nLength = nOld + copy.m_nLength;
    }
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    return *this += CString(psz);
}

CString& CString::operator+=(char ch)
{
    const char sz[2] = {ch, '\0'};
    return *this += CString(sz, ch == '\0' ? 0 : 1);
}

void CString::Empty()
{
    if (m_nCapacity != 0)
        free(m_pch);
    m_pch = &g_chEmpty;
    m_nLength = 0;
    m_nCapacity = 0;
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < m_nLength)
        nMinLength = m_nLength;
    if (!Reserve(nMinLength))
        return nullptr;
    return m_pch;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_nCapacity == 0)
        return;
    if (nNewLength < 0 || nNewLength > m_nCapacity)
        nNewLength = static_cast<int>(strnlen(m_pch, m_nCapacity));
    m_pch[nNewLength] = '\0';
    m_nLength = nNewLength;
}

char* CString::GetBufferSetLength(int nLength)
{
    char* pch = GetBuffer(nLength);
    if (pch != nullptr)
    {
        pch[nLength] = '\0';
        m_nLength = nLength;
    }
    return pch;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_pch, nCount < m_nLength ? nCount : m_nLength);
}

CString CString::Mid(int nFirst) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= m_nLength)
        return CString();
    return CString(m_pch + nFirst, m_nLength - nFirst);
}

BOOL CString::LoadString(UINT nID)
{
    return AfxLoadString(nID, *this);
}

bool operator==(const CString& a, const char* b)
{
    return strcmp(a.m_pch, b != nullptr ? b : "") == 0;
}

void CString::Assign(const char* pch, int nLength)
{
    if (nLength <= 0)
    {
        Empty();
        return;
    }
    if (pch >= m_pch && pch < m_pch + m_nLength)
    {
        *this = CString(pch, nLength); // a part of ourselves
        return;
    }
    if (!Reserve(nLength))
        return;
    memcpy(m_pch, pch, nLength);
    m_pch[nLength] = '\0';
    m_nLength = nLength;
}

// Makes room for nCapacity characters plus the terminator, keeping the current text.
bool CString::Reserve(int nCapacity)
{
    if (nCapacity <= m_nCapacity && m_nCapacity != 0)
        return true;
    if (nCapacity == 0 && m_nCapacity == 0)
        nCapacity = 1;
    char* pNew = static_cast<char*>(m_nCapacity != 0 ? realloc(m_pch, nCapacity + 1)
                                                     : malloc(nCapacity + 1));
    if (pNew == nullptr)
        return false;
    if (m_nCapacity == 0)
        pNew[0] = '\0';
    m_pch = pNew;
    m_nCapacity = nCapacity;
    return true;
}
