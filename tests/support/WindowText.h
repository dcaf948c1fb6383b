// Texts as the tests read and expect them: a window's text, a dialog item's text, and a UTF-8
// literal in the bytes of a code page (the program's strings are multibyte). What the user sees is
// read through the W functions and compared as UTF-8, the encoding of the tests' literals.
#pragma once

#include <windows.h>

#include <string>

inline std::string TextOf(HWND hWnd)
{
    const int nLength = GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    GetWindowTextA(hWnd, &text[0], nLength + 1);
    text.resize(static_cast<size_t>(nLength));
    return text;
}

inline std::string ItemText(HWND hDlg, int nID)
{
    return TextOf(GetDlgItem(hDlg, nID));
}

inline std::string InCodePage(const char* utf8, UINT codePage)
{
    const int cchWide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(cchWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], cchWide);
    const int cbText =
        WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(cbText), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &text[0], cbText, nullptr, nullptr);
    text.resize(text.find('\0'));
    return text;
}

inline std::string Utf8Of(const wchar_t* pwch, int cch)
{
    if (cch <= 0)
        return std::string();
    const int cb = WideCharToMultiByte(CP_UTF8, 0, pwch, cch, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, pwch, cch, &text[0], cb, nullptr, nullptr);
    return text;
}

inline std::string Utf8Of(const std::wstring& text)
{
    return Utf8Of(text.c_str(), static_cast<int>(text.size()));
}

// A window's text as the user reads it, read as a screen reader or UI automation reads it:
// WM_GETTEXT sent wide, through the window's own procedure. A window whose procedure is ANSI
// answers it through the system's ANSI code page, so text that code page lacks reads as question
// marks even though the caption or the static draws right. Works for windows of other processes.
inline std::string ShownText(HWND hWnd)
{
    DWORD_PTR cchLength = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &cchLength))
        return "<no answer>";
    std::wstring text(static_cast<size_t>(cchLength) + 1, L'\0');
    DWORD_PTR cch = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 5000, &cch);
    return Utf8Of(text.c_str(), static_cast<int>(cch));
}

inline std::string ShownItemText(HWND hDlg, int nID)
{
    return ShownText(GetDlgItem(hDlg, nID));
}

// Multibyte text of the program, in the code page it was made in, as UTF-8.
inline std::string Utf8FromCodePage(const char* text, UINT codePage)
{
    const int cch = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(cch), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &wide[0], cch);
    return Utf8Of(wide.c_str(), cch - 1);
}

// Non-ASCII text that the system's ANSI code page (the one of the stored values) holds exactly, or,
// with bStorable false, that it lacks: "café" under code page 949, Hangul under 1252.
inline std::wstring AnsiCodePageSample(bool bStorable)
{
    for (const wchar_t* psz : {L"caf\u00e9", L"\uae30\ub3d9", L"\u8a2d\u5b9a"})
    {
        BOOL bUsedDefault = FALSE;
        char szText[16] = {};
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, psz, -1, szText, sizeof(szText), nullptr,
                            &bUsedDefault);
        if (!bUsedDefault == bStorable)
            return psz;
    }
    return L"<none>";
}

inline std::string InAnsiCodePage(const std::wstring& text)
{
    char szText[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, szText, sizeof(szText), nullptr, nullptr);
    return szText;
}
