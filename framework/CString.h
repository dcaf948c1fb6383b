// An 8-bit string in the multibyte code page of the program's language set, holding only what the
// program uses.
#pragma once

#include <windows.h>

class CString
{
public:
    CString();
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    const char* GetString() const { return m_pch; }
    operator const char*() const { return m_pch; }
    char operator[](int nIndex) const { return m_pch[nIndex]; }

    // Direct access for APIs that fill a buffer: GetBuffer makes room for at least nMinLength
    // characters plus the terminator; ReleaseBuffer takes the new length (-1: up to the first
    // zero).
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);
    char* GetBufferSetLength(int nLength);

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;

    // Loads string resource nID converted to the code page of the language set it came from
    // (AfxLoadString), whatever the system's code page. FALSE (and the string unchanged) when the
    // id has no entry or its entry is empty.
    BOOL LoadString(UINT nID);

    friend bool operator==(const CString& a, const char* b);
    friend bool operator==(const CString& a, const CString& b) { return a == b.GetString(); }

private:
    void Assign(const char* pch, int nLength);
    bool Reserve(int nCapacity);

    char* m_pch;
    int m_nLength;
    int m_nCapacity; // 0 while m_pch points at the shared empty string
};
