#include "framework/CDialogTemplate.h"

#include <string.h>

namespace
{
// The fixed part of each form, in WORDs. DLGTEMPLATEEX: version 1, signature 0xFFFF, help id,
// extended style, style, control count, x, y, cx, cy. DLGTEMPLATE: style, extended style,
// control count, x, y, cx, cy.
const int kExCountWord = 8;
const int kExStyleWord = 6;
const int kExFixedFrameWords = 13;
const int kCountWord = 4;
const int kFixedFrameWords = 9;
// DLGITEMTEMPLATEEX: help id, extended style, style, x, y, cx, cy, a DWORD id.
// DLGITEMTEMPLATE: style, extended style, x, y, cx, cy, a WORD id.
const int kExFixedItemWords = 12;
const int kFixedItemWords = 9;

const WCHAR* const kPredefinedClasses[] = {L"Button",  L"Edit",      L"Static",
                                           L"ListBox", L"ScrollBar", L"ComboBox"};

DWORD ReadDword(const WORD* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 16);
}

// Past a menu or class field: none (0), a resource number (0xFFFF, n) or a string.
const WORD* SkipNameOrNumber(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    return p + wcslen(reinterpret_cast<const WCHAR*>(p)) + 1;
}

const WORD* SkipString(const WORD* p)
{
    return p + wcslen(reinterpret_cast<const WCHAR*>(p)) + 1;
}

const WORD* AlignToDword(const WORD* p, const WORD* pStart)
{
    const size_t offset = static_cast<size_t>(reinterpret_cast<const BYTE*>(p) -
                                              reinterpret_cast<const BYTE*>(pStart));
    return reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(pStart) +
                                         ((offset + 3) & ~static_cast<size_t>(3)));
}
} // namespace

CDialogTemplate::~CDialogTemplate()
{
    delete[] m_pFrame;
}

BOOL CDialogTemplate::Load(HINSTANCE hInstance, UINT nID)
{
    HRSRC hResource = FindResourceW(hInstance, MAKEINTRESOURCEW(nID), MAKEINTRESOURCEW(5));
    HGLOBAL hData = hResource != nullptr ? LoadResource(hInstance, hResource) : nullptr;
    const auto* pStart = static_cast<const WORD*>(hData != nullptr ? LockResource(hData) : nullptr);
    const DWORD nBytes = pStart != nullptr ? SizeofResource(hInstance, hResource) : 0;
    m_bExtended = nBytes >= 4 && pStart[0] == 1 && pStart[1] == 0xFFFF;
    if (nBytes < (m_bExtended ? kExFixedFrameWords : kFixedFrameWords) * sizeof(WORD))
        return FALSE;
    const DWORD dwStyle = ReadDword(pStart + (m_bExtended ? kExStyleWord : 0));
    const int nCountWord = m_bExtended ? kExCountWord : kCountWord;
    const WORD* p = pStart + (m_bExtended ? kExFixedFrameWords : kFixedFrameWords);
    p = SkipNameOrNumber(p); // menu
    p = SkipNameOrNumber(p); // class
    p = SkipString(p);       // caption
    if ((dwStyle & DS_SETFONT) != 0)
    {
        const bool bMessageFont = *p == 0x7FFF;
        p += 1; // point size
        if (!bMessageFont)
            p = SkipString(p + (m_bExtended ? 2 : 0)); // weight, italic, character set; typeface
    }
    const WORD* pFirstItem = AlignToDword(p, pStart);
    m_nControls = pStart[nCountWord];
    if (m_nControls > kMaxControls || !ReadControls(pFirstItem))
        return FALSE;

    const size_t nFrameWords = static_cast<size_t>(pFirstItem - pStart);
    m_pFrame = new WORD[nFrameWords];
    memcpy(m_pFrame, pStart, nFrameWords * sizeof(WORD));
    m_pFrame[nCountWord] = 0;
    return TRUE;
}

BOOL CDialogTemplate::ReadControls(const WORD* pItem)
{
    const WORD* const pStart = pItem;
    for (int i = 0; i < m_nControls; ++i)
    {
        DialogControl& control = m_controls[i];
        // The extended form starts with a help id, and has the styles the other way round.
        const WORD* pStyles = m_bExtended ? pItem + 2 : pItem;
        control.dwExStyle = ReadDword(pStyles + (m_bExtended ? 0 : 2)) | WS_EX_NOPARENTNOTIFY;
        control.dwStyle = (ReadDword(pStyles + (m_bExtended ? 2 : 0)) & ~WS_POPUP) | WS_CHILD;
        // A bordered control gets the sunken edge that dialogs draw instead of the flat border.
        if ((control.dwStyle & WS_BORDER) != 0)
        {
            control.dwStyle &= ~WS_BORDER;
            control.dwExStyle |= WS_EX_CLIENTEDGE;
        }
        const auto* pCoordinates = reinterpret_cast<const SHORT*>(pStyles + 4);
        control.rcUnits = {pCoordinates[0], pCoordinates[1], pCoordinates[2], pCoordinates[3]};
        // A DWORD id in the extended form, a WORD (so -1 is 65535) in the other, as created.
        control.nID = m_bExtended ? static_cast<int>(ReadDword(pStyles + 8)) : pStyles[8];

        const WORD* p = pItem + (m_bExtended ? kExFixedItemWords : kFixedItemWords);
        if (*p == 0xFFFF)
        {
            // The predefined classes by number: 0x80 to 0x85, also written 0 to 5.
            const WORD nClass = p[1] >= 0x80 ? p[1] - 0x80 : p[1];
            if (nClass >= sizeof(kPredefinedClasses) / sizeof(kPredefinedClasses[0]))
                return FALSE;
            control.lpszClass = kPredefinedClasses[nClass];
            p += 2;
        }
        else
        {
            control.lpszClass = reinterpret_cast<LPCWSTR>(p);
            p = SkipString(p);
        }
        // A title by resource number (an icon's or a bitmap's) is passed on as the dialog manager
        // passes it, 0xFFFF and the number, ended by a zero: the creation data's size that
        // follows it, which is zero, as it must be (a control with creation data is refused).
        control.lpszTitle = reinterpret_cast<LPCWSTR>(p);
        p = *p == 0xFFFF ? p + 2 : SkipString(p);
        if (*p != 0)
            return FALSE; // creation data
        pItem = AlignToDword(p + 1, pStart);
    }
    return TRUE;
}
