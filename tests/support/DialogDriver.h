// Driving real dialogs from a test, with no person present: pumping pending messages after each
// simulated input, and answering message boxes (recording their caption, text and icon) through a
// CBT hook on the test's own thread.
#pragma once

#include "support/WindowText.h"

#include <windows.h>

#include <string>
#include <vector>

// Handles every message that is waiting for this thread, so that what a simulated input started
// has finished before the test looks.
inline void FlushEvents()
{
    MSG msg;
    for (int round = 0; round < 3; ++round)
    {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

struct SeenMessageBox
{
    std::string caption;
    std::string text;
    HWND owner;
    DWORD style;          // the box window's style (not the MB_ flags)
    HICON icon = nullptr; // the icon the box shows (MB_ICONEXCLAMATION: IDI_EXCLAMATION), if any
    std::string shownCaption; // caption and text as the user reads them (W functions), UTF-8
    std::string shownText;
};

// While alive, every message box this thread opens is recorded and answered with `answer` as soon
// as it activates. Answerers nest (a test's own inside a fixture's): the innermost one alone
// records and answers, and the outer one takes over again when it ends.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(int answer = IDOK) : m_answer(answer), m_previous(s_current)
    {
        s_current = this;
        // One hook serves the nest: a second one would see and record every box twice.
        if (m_previous == nullptr)
            m_hook = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxAnswerer()
    {
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
        s_current = m_previous;
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return m_seen; }

private:
    // A message box is a dialog whose text static has the id 0xFFFF and that holds nothing but
    // that text, an icon and buttons with the standard answer ids (IDOK to IDCONTINUE). The id
    // alone is not enough: the program's classic dialog templates store their unnamed statics
    // (id -1) as 0xFFFF too.
    static bool IsMessageBox(HWND hWnd)
    {
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof(className));
        if (std::string(className) != "#32770" || GetDlgItem(hWnd, 0xFFFF) == nullptr)
            return false;
        for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild != nullptr;
             hChild = GetWindow(hChild, GW_HWNDNEXT))
        {
            char childClass[16] = {};
            GetClassNameA(hChild, childClass, sizeof(childClass));
            const int id = GetDlgCtrlID(hChild);
            const LONG_PTR style = GetWindowLongPtrA(hChild, GWL_STYLE);
            const bool isAnswerButton =
                lstrcmpiA(childClass, "Button") == 0 && id >= IDOK && id <= IDCONTINUE;
            const bool isTextOrIcon = lstrcmpiA(childClass, "Static") == 0 &&
                                      (id == 0xFFFF || (style & SS_TYPEMASK) == SS_ICON);
            if (!isAnswerButton && !isTextOrIcon)
                return false;
        }
        return true;
    }

    // The image of the box's icon static; the system's icons are shared handles, so the box's
    // is the one LoadIcon(nullptr, IDI_...) answers.
    static HICON IconOf(HWND hBox)
    {
        for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr;
             hChild = GetWindow(hChild, GW_HWNDNEXT))
        {
            char className[16] = {};
            GetClassNameA(hChild, className, sizeof(className));
            const LONG_PTR style = GetWindowLongPtrA(hChild, GWL_STYLE);
            if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
                return reinterpret_cast<HICON>(SendMessageA(hChild, STM_GETICON, 0, 0));
        }
        return nullptr;
    }

    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        MessageBoxAnswerer* self = s_current;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && self != nullptr && IsMessageBox(hWnd))
        {
            self->m_seen.push_back(
                {TextOf(hWnd), TextOf(GetDlgItem(hWnd, 0xFFFF)), GetWindow(hWnd, GW_OWNER),
                 static_cast<DWORD>(GetWindowLongPtrA(hWnd, GWL_STYLE)), IconOf(hWnd),
                 ShownText(hWnd), ShownText(GetDlgItem(hWnd, 0xFFFF))});
            PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(self->m_answer, BN_CLICKED), 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageBoxAnswerer* s_current = nullptr;
    HHOOK m_hook = nullptr;
    int m_answer;
    MessageBoxAnswerer* m_previous;
    std::vector<SeenMessageBox> m_seen;
};
