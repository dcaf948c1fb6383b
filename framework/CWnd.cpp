#include "framework/CWnd.h"

#include "framework/CTextMessage.h"
#include "framework/CWideText.h"
#include "framework/CWinApp.h"
#include "framework/ModuleState.h"

#include <stdlib.h>

namespace
{
// The permanent map from window handle to object. The program has one user-interface thread and
// a handful of windows with objects, so a small array searched from the end is all it needs.
struct HandleMapEntry
{
    HWND hWnd;
    CWnd* pWnd;
};
HandleMapEntry* g_pEntries = nullptr;
int g_nEntries = 0;
int g_nCapacity = 0;

bool AddToMap(HWND hWnd, CWnd* pWnd)
{
    if (g_nEntries == g_nCapacity)
    {
        const int nCapacity = g_nCapacity == 0 ? 16 : g_nCapacity * 2;
        auto* pEntries = static_cast<HandleMapEntry*>(
            realloc(g_pEntries, static_cast<size_t>(nCapacity) * sizeof(HandleMapEntry)));
        if (pEntries == nullptr)
            return false;
        g_pEntries = pEntries;
        g_nCapacity = nCapacity;
    }
    g_pEntries[g_nEntries++] = {hWnd, pWnd};
    return true;
}

void RemoveFromMap(HWND hWnd)
{
    for (int i = g_nEntries - 1; i >= 0; --i)
    {
        if (g_pEntries[i].hWnd == hWnd)
        {
            g_pEntries[i] = g_pEntries[--g_nEntries];
            return;
        }
    }
}

// The window-creation hook and the object waiting for the next window this thread creates.
HHOOK g_hCreateHook = nullptr;
CWnd* g_pWndInit = nullptr;

bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}
} // namespace

IMPLEMENT_DYNAMIC(CWnd, CObject)

// clang-format off
const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    using ThisClass = CWnd;
    static const AFX_MSGMAP_ENTRY s_entries[] = {
        ON_WM_SYSCOLORCHANGE()
        ON_WM_SETTINGCHANGE()
        {0, 0, 0, nullptr}
    };
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}
// clang-format on

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr)
    {
        // The object goes before its window: give the window its own procedure back.
        RestoreSuperProcedure();
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    for (int i = g_nEntries - 1; i >= 0; --i)
    {
        if (g_pEntries[i].hWnd == hWnd)
            return g_pEntries[i].pWnd;
    }
    return nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    if (!AddToMap(hWnd, this))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        RemoveFromMap(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    // The W function: the window gets a Unicode procedure (see CTextMessage).
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (m_pfnSuper == nullptr)
    {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::AttachWindowProc(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, HWND hWndParent, UINT nID)
{
    const CWideText className(lpszClassName);
    const CWideText windowName(lpszWindowName);
    AfxHookWindowCreate(this);
    HWND hWnd = CreateWindowExW(dwExStyle, className, windowName, dwStyle, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, hWndParent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                AfxGetInstanceHandle(), nullptr);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && hWnd == m_hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG previous = m_currentMsg; // messages nest: a handler may send another one
    CTextMessage* const pPreviousText = m_pTextMessage;
    m_currentMsg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
    m_pTextMessage = nullptr;
    LRESULT lResult = 0;
    if (!DispatchMessageMap(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    m_currentMsg = previous;
    m_pTextMessage = pPreviousText;
    if (message == WM_NCDESTROY)
        OnNcDestroyed();
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const LRESULT lResult =
        DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
    if (m_pTextMessage != nullptr)
        m_pTextMessage->AnsweredByDefault();
    return lResult;
}

bool CWnd::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (IsCtlColorMessage(message) && ReflectCtlColor(message, wParam, lParam, pResult))
        return true;

    const UINT nCode = message == WM_COMMAND ? HIWORD(wParam) : 0;
    const UINT nID = message == WM_COMMAND ? LOWORD(wParam) : 0;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry)
        {
            if (pEntry->nMessage != message)
                continue;
            if (message == WM_COMMAND && (pEntry->nCode != nCode || pEntry->nID != nID))
                continue;
            if (CTextMessage::CarriesText(message))
            {
                // The handler gets the text in the program's code page.
                CTextMessage text(message, wParam, lParam);
                m_pTextMessage = &text;
                const LRESULT lHandled = pEntry->pfnThunk(this, text.WParam(), text.LParam());
                m_pTextMessage = nullptr;
                *pResult = text.Answer(lHandled);
            }
            else
            {
                *pResult = pEntry->pfnThunk(this, wParam, lParam);
            }
            return true;
        }
    }
    return false;
}

// A control may answer the colour request its parent received for it (message reflection).
bool CWnd::ReflectCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    return pChild != nullptr && pChild != this &&
           pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!IsCtlColorMessage(message))
        return FALSE;
    LRESULT lBrush = 0;
    const LPARAM nCtlColor = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);
    if (!DispatchMessageMap(WM_REFLECT_CTLCOLOR, wParam, nCtlColor, &lBrush) || lBrush == 0)
        return FALSE; // no brush: the parent colours the control as usual
    *pResult = lBrush;
    return TRUE;
}

void CWnd::OnNcDestroyed()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    RestoreSuperProcedure();
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

// Gives the window the procedure it had before the object subclassed it, unless another one has
// been put on top of ours since (taking that away would drop it from the chain).
void CWnd::RestoreSuperProcedure()
{
    if (m_pfnSuper == nullptr || !IsWindow(m_hWnd))
        return;
    if (GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
}

int CWnd::OnCreate(LPCREATESTRUCTA)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

// The system tells only top-level windows that its colours or settings changed: a top-level
// window passes the news on to its controls, which may draw with system colours or settings.
void CWnd::OnSysColorChange()
{
    Default();
    if ((GetStyle() & WS_CHILD) == 0)
        SendMessageToChildren(WM_SYSCOLORCHANGE, 0, 0);
}

void CWnd::OnSettingChange(UINT, LPCSTR)
{
    Default();
    // Passed on in the wide form the window received.
    if ((GetStyle() & WS_CHILD) == 0)
        SendMessageToChildren(WM_SETTINGCHANGE, m_currentMsg.wParam, m_currentMsg.lParam);
}

void CWnd::SendMessageToChildren(UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageW(hChild, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandlePermanent(GetDlgItemHandle(nID));
}

HWND CWnd::GetDlgItemHandle(int nID) const
{
    return ::GetDlgItem(m_hWnd, nID);
}

void CWnd::SetWindowText(LPCSTR lpszText)
{
    ::SetWindowTextW(m_hWnd, CWideText(lpszText));
}

CWideText AfxGetWindowTextWide(HWND hWnd)
{
    const int cch = GetWindowTextLengthW(hWnd);
    WCHAR* pwch = cch > 0 ? static_cast<WCHAR*>(malloc((cch + 1) * sizeof(WCHAR))) : nullptr;
    const int cchCopied = pwch != nullptr ? GetWindowTextW(hWnd, pwch, cch + 1) : 0;
    CWideText text(pwch, cchCopied);
    free(pwch);
    return text;
}

void CWnd::GetWindowText(CString& rText) const
{
    const int nLength = GetWindowTextLengthA(m_hWnd);
    char* pch = rText.GetBufferSetLength(nLength);
    if (pch == nullptr)
        return;
    ::GetWindowTextA(m_hWnd, pch, nLength + 1);
    rText.ReleaseBuffer(-1);
}

void CWnd::SetDlgItemText(int nID, LPCSTR lpszText)
{
    if (CWnd* pItem = GetDlgItem(nID))
        pItem->SetWindowText(lpszText);
    else
        ::SetDlgItemTextW(m_hWnd, nID, CWideText(lpszText));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    const POINT pt = CenteredTopLeft(rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top,
                                     pAlternateOwner);
    SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SizeAndCenterWindow(int cx, int cy, CWnd* pAlternateOwner)
{
    const POINT pt = CenteredTopLeft(cx, cy, pAlternateOwner);
    SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT CWnd::CenteredTopLeft(int cx, int cy, CWnd* pAlternateOwner) const
{
    HWND hWndOwner =
        pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndOwner != nullptr && (!IsWindowVisible(hWndOwner) || ::IsIconic(hWndOwner)))
        hWndOwner = nullptr;

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(
        MonitorFromWindow(hWndOwner != nullptr ? hWndOwner : m_hWnd, MONITOR_DEFAULTTONEAREST),
        &monitor);
    const RECT rcArea = monitor.rcWork;
    RECT rcCenter = rcArea;
    if (hWndOwner != nullptr)
        ::GetWindowRect(hWndOwner, &rcCenter);

    POINT pt = {(rcCenter.left + rcCenter.right) / 2 - cx / 2,
                (rcCenter.top + rcCenter.bottom) / 2 - cy / 2};
    // Keep the window inside the work area.
    if (pt.x + cx > rcArea.right)
        pt.x = rcArea.right - cx;
    if (pt.x < rcArea.left)
        pt.x = rcArea.left;
    if (pt.y + cy > rcArea.bottom)
        pt.y = rcArea.bottom - cy;
    if (pt.y < rcArea.top)
        pt.y = rcArea.top;
    return pt;
}

void CWnd::BeginWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
}

void CWnd::EndWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
}

LRESULT CALLBACK CWnd::CreateHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && g_pWndInit != nullptr)
    {
        CWnd* pWnd = g_pWndInit;
        AfxUnhookWindowCreate();
        // The window has not received any message yet, WM_NCCREATE included: from here on they
        // all come through the object's message map.
        pWnd->AttachWindowProc(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return pWnd->WindowProc(message, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    g_pWndInit = pWnd;
    if (g_hCreateHook == nullptr)
        g_hCreateHook =
            SetWindowsHookExA(WH_CBT, &CWnd::CreateHookProc, nullptr, GetCurrentThreadId());
}

void AfxUnhookWindowCreate()
{
    g_pWndInit = nullptr;
    if (g_hCreateHook != nullptr)
    {
        UnhookWindowsHookEx(g_hCreateHook);
        g_hCreateHook = nullptr;
    }
}
