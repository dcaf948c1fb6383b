// Driving real dialogs from a test, with no person present: pumping pending messages after each
// simulated input, and answering message boxes (recording their caption, text and icon) through a
// CBT hook on the test's own thread.
#pragma once

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
    DWORD style; // the box window's style (not the MB_ flags)
};

// While alive, every message box this thread opens is recorded and answered with `answer` as soon
// as it activates.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(int answer = IDOK) : m_answer(answer)
    {
        s_current = this;
        m_hook = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxAnswerer()
    {
        UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return m_seen; }

private:
    static bool IsMessageBox(HWND hWnd)
    {
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof(className));
        // A message box is a dialog whose text static has the id 0xFFFF.
        return std::string(className) == "#32770" && GetDlgItem(hWnd, 0xFFFF) != nullptr;
    }

    static std::string TextOf(HWND hWnd)
    {
        const int length = GetWindowTextLengthA(hWnd);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(hWnd, &text[0], length + 1);
        text.resize(static_cast<size_t>(length));
        return text;
    }

    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        MessageBoxAnswerer* self = s_current;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && self != nullptr && IsMessageBox(hWnd))
        {
            self->m_seen.push_back({TextOf(hWnd), TextOf(GetDlgItem(hWnd, 0xFFFF)),
                                    GetWindow(hWnd, GW_OWNER),
                                    static_cast<DWORD>(GetWindowLongPtrA(hWnd, GWL_STYLE))});
            PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(self->m_answer, BN_CLICKED), 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageBoxAnswerer* s_current = nullptr;
    HHOOK m_hook = nullptr;
    int m_answer;
    std::vector<SeenMessageBox> m_seen;
};
