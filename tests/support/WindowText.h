// Texts as the tests read and expect them: a window's text, a dialog item's text, and a UTF-8
// literal in the bytes of a code page (the program's strings are multibyte).
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
