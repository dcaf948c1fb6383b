// Message maps: per class, a table from window message (or command id and notification code) to
// a typed member handler. Each entry's thunk unpacks WPARAM/LPARAM into the handler's signature,
// so a map reads as the list of what the class handles, and nothing else runs for a message
// unless the handler itself calls Default().
#pragma once

#include <windows.h>

class CWnd;

using AFX_PMSGTHUNK = LRESULT (*)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // window message; 0 ends the table
    UINT nCode;    // WM_COMMAND: the notification code
    UINT nID;      // WM_COMMAND: the command or control id
    AFX_PMSGTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// A control's own handling of a WM_CTLCOLOR* message that its parent received for it.
constexpr UINT WM_REFLECT_CTLCOLOR = 0xBC00 + 0x0019;

// The macros are laid out by hand, one table entry or declaration per line.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                                                      \
public:                                                                                            \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
                                                                                                   \
protected:                                                                                         \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY s_entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {0, 0, 0, nullptr}                                                                             \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP s_map = {&TheBaseClass::GetThisMessageMap, &s_entries[0]};             \
    return &s_map;                                                                                 \
    }

#define AFX_THUNK_(body)                                                                           \
    [](CWnd* pWnd, WPARAM wParam, LPARAM lParam) -> LRESULT                                        \
    {                                                                                              \
        ThisClass* pThis = static_cast<ThisClass*>(pWnd);                                          \
        (void)pThis;                                                                               \
        (void)wParam;                                                                              \
        (void)lParam;                                                                              \
        body                                                                                       \
    }

#define AFX_POINT_FROM_LPARAM_(lParam)                                                             \
    POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}

// Commands and control notifications
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0, static_cast<UINT>(id), AFX_THUNK_(pThis->memberFxn(); return 0;)},
#define ON_BN_CLICKED(id, memberFxn)                                                               \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), AFX_THUNK_(pThis->memberFxn(); return 0;)},

// A handler taking the raw parameters and answering the message's result itself.
#define ON_MESSAGE(message, memberFxn)                                                             \
    {message, 0, 0, AFX_THUNK_(return pThis->memberFxn(wParam, lParam);)},

// Window messages
#define ON_WM_CREATE()                                                                             \
    {WM_CREATE, 0, 0,                                                                              \
     AFX_THUNK_(return pThis->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, AFX_THUNK_(pThis->OnDestroy(); return 0;)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, AFX_THUNK_(pThis->OnPaint(); return 0;)},
#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND, 0, 0,                                                                          \
     AFX_THUNK_(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)},
#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0,                                                                       \
     AFX_THUNK_(return reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon());)},
#define ON_WM_LBUTTONDOWN()                                                                        \
    {WM_LBUTTONDOWN, 0, 0,                                                                         \
     AFX_THUNK_(pThis->OnLButtonDown(static_cast<UINT>(wParam),                                    \
                                     AFX_POINT_FROM_LPARAM_(lParam));                              \
                return 0;)},
#define ON_WM_LBUTTONUP()                                                                          \
    {WM_LBUTTONUP, 0, 0,                                                                           \
     AFX_THUNK_(pThis->OnLButtonUp(static_cast<UINT>(wParam), AFX_POINT_FROM_LPARAM_(lParam));     \
                return 0;)},
#define ON_WM_MOUSEMOVE()                                                                          \
    {WM_MOUSEMOVE, 0, 0,                                                                           \
     AFX_THUNK_(pThis->OnMouseMove(static_cast<UINT>(wParam), AFX_POINT_FROM_LPARAM_(lParam));     \
                return 0;)},
#define ON_WM_CONTEXTMENU()                                                                        \
    {WM_CONTEXTMENU, 0, 0,                                                                         \
     AFX_THUNK_(pThis->OnContextMenu(reinterpret_cast<HWND>(wParam),                               \
                                     AFX_POINT_FROM_LPARAM_(lParam));                              \
                return 0;)},
#define ON_WM_SETCURSOR()                                                                          \
    {WM_SETCURSOR, 0, 0,                                                                           \
     AFX_THUNK_(return pThis->OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam),          \
                                          HIWORD(lParam));)},
#define ON_WM_NCHITTEST()                                                                          \
    {WM_NCHITTEST, 0, 0, AFX_THUNK_(return pThis->OnNcHitTest(AFX_POINT_FROM_LPARAM_(lParam));)},
#define ON_WM_SETFONT()                                                                            \
    {WM_SETFONT, 0, 0,                                                                             \
     AFX_THUNK_(pThis->OnSetFont(reinterpret_cast<HFONT>(wParam),                                  \
                                 static_cast<BOOL>(LOWORD(lParam)));                               \
                return 0;)},
#define ON_WM_SIZE()                                                                               \
    {WM_SIZE, 0, 0,                                                                                \
     AFX_THUNK_(pThis->OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),       \
                              static_cast<short>(HIWORD(lParam)));                                 \
                return 0;)},
#define ON_WM_STYLECHANGED()                                                                       \
    {WM_STYLECHANGED, 0, 0,                                                                        \
     AFX_THUNK_(pThis->OnStyleChanged(static_cast<int>(wParam),                                    \
                                      reinterpret_cast<LPSTYLESTRUCT>(lParam));                    \
                return 0;)},
#define ON_WM_GETDLGCODE()                                                                         \
    {WM_GETDLGCODE, 0, 0, AFX_THUNK_(return pThis->OnGetDlgCode(reinterpret_cast<LPMSG>(lParam));)},
#define ON_WM_KEYDOWN()                                                                            \
    {WM_KEYDOWN, 0, 0,                                                                             \
     AFX_THUNK_(pThis->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));       \
                return 0;)},
#define ON_WM_KEYUP()                                                                              \
    {WM_KEYUP, 0, 0,                                                                               \
     AFX_THUNK_(pThis->OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));         \
                return 0;)},
#define ON_WM_SYSKEYDOWN()                                                                         \
    {WM_SYSKEYDOWN, 0, 0,                                                                          \
     AFX_THUNK_(pThis->OnSysKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));    \
                return 0;)},
#define ON_WM_SETFOCUS()                                                                           \
    {WM_SETFOCUS, 0, 0,                                                                            \
     AFX_THUNK_(pThis->OnSetFocus(reinterpret_cast<HWND>(wParam)); return 0;)},
#define ON_WM_KILLFOCUS()                                                                          \
    {WM_KILLFOCUS, 0, 0,                                                                           \
     AFX_THUNK_(pThis->OnKillFocus(reinterpret_cast<HWND>(wParam)); return 0;)},
#define ON_WM_SYSCOLORCHANGE()                                                                     \
    {WM_SYSCOLORCHANGE, 0, 0, AFX_THUNK_(pThis->OnSysColorChange(); return 0;)},
#define ON_WM_SETTINGCHANGE()                                                                      \
    {WM_SETTINGCHANGE, 0, 0,                                                                       \
     AFX_THUNK_(pThis->OnSettingChange(static_cast<UINT>(wParam),                                  \
                                       reinterpret_cast<LPCSTR>(lParam));                          \
                return 0;)},
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_REFLECT_CTLCOLOR, 0, 0,                                                                    \
     AFX_THUNK_(return reinterpret_cast<LRESULT>(                                                  \
                    pThis->CtlColor(reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam)));)},
// clang-format on
