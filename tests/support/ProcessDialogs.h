// Driving the dialogs of another process from outside, as a user or an automation tool would:
// finding them among the process's top-level windows, asking their controls what they show, and
// posting the clicks and keys that a person would make.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// True once condition holds, false if it still does not after timeoutMs.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition())
    {
        if (GetTickCount64() > deadline)
            return false;
        Sleep(10);
    }
    return true;
}

struct WindowsOfProcess
{
    DWORD dwProcessId;
    std::vector<HWND> windows;
};

inline BOOL CALLBACK CollectWindowOfProcess(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowsOfProcess*>(lParam);
    DWORD dwOwner = 0;
    GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner == pSearch->dwProcessId)
        pSearch->windows.push_back(hWnd);
    return TRUE;
}

inline std::vector<HWND> TopLevelWindowsOf(DWORD dwProcessId)
{
    WindowsOfProcess search{dwProcessId, {}};
    EnumWindows(&CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

// A visible dialog of that process other than hExcept, holding a control nItemId (0: any), or
// null.
inline HWND VisibleDialogOf(DWORD dwProcessId, HWND hExcept = nullptr, int nItemId = 0)
{
    for (HWND hWnd : TopLevelWindowsOf(dwProcessId))
    {
        wchar_t szClass[16] = {};
        GetClassNameW(hWnd, szClass, 16);
        if (hWnd != hExcept && lstrcmpW(szClass, L"#32770") == 0 && IsWindowVisible(hWnd) &&
            (nItemId == 0 || GetDlgItem(hWnd, nItemId) != nullptr))
            return hWnd;
    }
    return nullptr;
}

// Asks the control itself: the text that GetWindowText keeps for a window of another process is
// not what an edit holds after typing. Through the W message, which Wine carries across processes,
// it is what the user sees, whatever the code page.
inline std::wstring ControlTextW(HWND hControl)
{
    wchar_t szText[256] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hControl, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(szText),
                        SMTO_ABORTIFHUNG, 2000, &nResult);
    return szText;
}

// The same in the system's code page, as an 8-bit program reads it.
inline std::string ControlTextA(HWND hControl)
{
    char szText[256] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hControl, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText),
                        SMTO_ABORTIFHUNG, 2000, &nResult);
    return szText;
}

inline LRESULT ControlTextLength(HWND hControl)
{
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hControl, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &nResult);
    return static_cast<LRESULT>(nResult);
}

inline bool IsCheckedFromOutside(HWND hButton)
{
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hButton, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &nResult);
    return nResult == BST_CHECKED;
}

inline void ClickFromOutside(HWND hDlg, int nID)
{
    PostMessageW(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

// One WM_CHAR per character, as the keyboard would bring them, after selecting what the field
// holds so that typing replaces it.
inline void TypeFromOutside(HWND hDlg, int nID, const std::string& text)
{
    HWND hEdit = GetDlgItem(hDlg, nID);
    PostMessageW(hEdit, EM_SETSEL, 0, -1);
    for (unsigned char ch : text)
        PostMessageW(hEdit, WM_CHAR, ch, 1);
}

// A program started by its full path, from its own folder; ended by force should a test leave it
// running.
class ChildProgram
{
public:
    ChildProgram(const std::wstring& path, DWORD patienceMs) : m_patienceMs(patienceMs)
    {
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &m_process))
        {
            m_process = {};
            m_dwStartError = GetLastError();
        }
    }
    ~ChildProgram()
    {
        if (m_process.hProcess == nullptr)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
        {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, m_patienceMs);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    DWORD StartError() const { return m_dwStartError; }
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // The file the process runs, as the system knows it.
    std::wstring ImagePath() const
    {
        wchar_t szPath[MAX_PATH] = {};
        DWORD cch = MAX_PATH;
        QueryFullProcessImageNameW(m_process.hProcess, 0, szPath, &cch);
        return szPath;
    }

    // The exit code, or STILL_ACTIVE when the program has not ended in time.
    DWORD WaitForExit() const
    {
        WaitForSingleObject(m_process.hProcess, m_patienceMs);
        DWORD dwExitCode = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &dwExitCode);
        return dwExitCode;
    }

private:
    PROCESS_INFORMATION m_process = {};
    DWORD m_dwStartError = 0;
    DWORD m_patienceMs;
};
