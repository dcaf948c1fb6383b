#include "framework/CTextMessage.h"

#include "framework/CWideText.h"
#include "framework/StringResource.h"

#include <string.h>

namespace
{
// Wide text into the program's code page; an empty string for none.
CString MultiByteOf(LPCWSTR pwsz)
{
    CString strText;
    if (pwsz == nullptr || *pwsz == L'\0')
        return strText;
    const UINT nCodePage = AfxGetConversionCodePage();
    const int cb = WideCharToMultiByte(nCodePage, 0, pwsz, -1, nullptr, 0, nullptr, nullptr);
    char* pch = cb > 1 ? strText.GetBufferSetLength(cb - 1) : nullptr;
    if (pch == nullptr)
        return strText;
    WideCharToMultiByte(nCodePage, 0, pwsz, -1, pch, cb, nullptr, nullptr);
    strText.ReleaseBuffer(cb - 1);
    return strText;
}
} // namespace

bool CTextMessage::CarriesText(UINT message)
{
    switch (message)
    {
        case WM_NCCREATE:
        case WM_CREATE:
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        case WM_SETTINGCHANGE:
            return true;
        default:
            return false;
    }
}

CTextMessage::CTextMessage(UINT message, WPARAM wParam, LPARAM lParam)
    : m_message(message), m_wParam(wParam), m_lParam(lParam), m_wParamOut(wParam),
      m_lParamOut(lParam)
{
    switch (message)
    {
        case WM_NCCREATE:
        case WM_CREATE:
        {
            const auto* pCreate = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (pCreate == nullptr)
                break;
            // Both structures have the same layout; only the two names differ in kind.
            memcpy(&m_create, pCreate, sizeof(m_create));
            m_strName = MultiByteOf(pCreate->lpszName);
            m_create.lpszName = m_strName;
            if (!IS_INTRESOURCE(pCreate->lpszClass))
            {
                m_strClass = MultiByteOf(pCreate->lpszClass);
                m_create.lpszClass = m_strClass;
            }
            m_lParamOut = reinterpret_cast<LPARAM>(&m_create);
            break;
        }
        case WM_SETTEXT:
        case WM_SETTINGCHANGE:
            if (lParam != 0)
            {
                m_strName = MultiByteOf(reinterpret_cast<LPCWSTR>(lParam));
                m_lParamOut = reinterpret_cast<LPARAM>(static_cast<const char*>(m_strName));
            }
            break;
        case WM_GETTEXT:
        {
            // Each character takes at most two bytes in the multibyte code pages the program
            // uses; the terminator one.
            const int cbRoom = static_cast<int>(wParam) * 2;
            char* pch = cbRoom > 0 ? m_strName.GetBufferSetLength(cbRoom) : nullptr;
            if (pch != nullptr)
                pch[0] = '\0';
            m_wParamOut = pch != nullptr ? static_cast<WPARAM>(cbRoom) : 0;
            m_lParamOut = reinterpret_cast<LPARAM>(pch);
            break;
        }
        default:
            break;
    }
}

LRESULT CTextMessage::Answer(LRESULT lResult) const
{
    if (m_message != WM_GETTEXT || m_wParam == 0 || m_lParam == 0 || m_bAnsweredByDefault)
        return lResult; // nothing to convert, or the caller's buffer already holds the answer
    // The text the handler wrote goes into the caller's buffer, cut to its size.
    const CWideText text(lResult > 0 ? reinterpret_cast<const char*>(m_lParamOut) : nullptr);
    const int cchRoom = static_cast<int>(m_wParam) - 1;
    const int cch = text.GetLength() < cchRoom ? text.GetLength() : cchRoom;
    auto* pwch = reinterpret_cast<LPWSTR>(m_lParam);
    memcpy(pwch, static_cast<LPCWSTR>(text), static_cast<size_t>(cch) * sizeof(WCHAR));
    pwch[cch] = L'\0';
    return cch;
}
