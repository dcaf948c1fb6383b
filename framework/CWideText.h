// Text in the UTF-16 form that the platform's W functions take and give.
//
// The program keeps its texts as 8-bit strings in its multibyte code page, the one string
// resources are converted to (AfxGetConversionCodePage). That is not always the system's ANSI code
// page, which the A functions assume: a user outside the three language sets gets the Korean set
// in code page 949 on a system of code page 1252, and so does a user whose display language is
// Korean on a Western system. Handed to the W functions from the code page it was made in, the
// text reads right in every case.
#pragma once

#include "framework/StringResource.h"

#include <windows.h>

class CString;

class CWideText
{
public:
    CWideText() = default;
    // lpsz (may be null: empty) converted from nCodePage.
    explicit CWideText(const char* lpsz, UINT nCodePage = AfxGetConversionCodePage());
    // The nLength characters at pwch (may be null when nLength is 0), which may hold zeros.
    CWideText(const WCHAR* pwch, int nLength);
    ~CWideText();
    CWideText(const CWideText& other);
    CWideText& operator=(const CWideText& other);

    operator LPCWSTR() const { return m_pwch != nullptr ? m_pwch : L""; }
    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    // The same characters, compared one by one (no case or form folding).
    bool operator==(const CWideText& other) const;
    // The position of the first ch, or -1.
    int Find(WCHAR ch) const;
    // The nCount characters from nFirst, as far as the text reaches.
    CWideText Mid(int nFirst, int nCount) const;

    // The text in nCodePage. Characters that have no form of their own there become the code
    // page's default character, never a look-alike. TRUE when every character converted exactly.
    BOOL ToMultiByte(UINT nCodePage, CString& rText) const;

private:
    bool Allocate(int nLength);

    WCHAR* m_pwch = nullptr;
    int m_nLength = 0;
};
