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
    // lpsz (may be null: empty) converted from nCodePage.
    explicit CWideText(const char* lpsz, UINT nCodePage = AfxGetConversionCodePage());
    // The text that the window holds.
    explicit CWideText(HWND hWnd);
    ~CWideText();
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;

    operator LPCWSTR() const { return m_pwch != nullptr ? m_pwch : L""; }
    int GetLength() const { return m_nLength; }

    // The text in nCodePage. Characters that have no form of their own there become the code
    // page's default character, never a look-alike. TRUE when every character converted exactly.
    BOOL ToMultiByte(UINT nCodePage, CString& rText) const;

private:
    bool Allocate(int nLength);

    WCHAR* m_pwch = nullptr;
    int m_nLength = 0;
};
