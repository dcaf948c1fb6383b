// What the link label and version dialog tests share: pumping messages until something happened
// (timers fire only while a thread pumps), the http scheme mapped to a recorder instead of a
// browser, the clipboard as another program sees it, popup menus noticed as they are created, and
// steps run from a timer while a modal dialog runs.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// Longer than anything a test waits for takes on a loaded machine or under emulation: reached
// only when what is waited for never comes.
inline constexpr DWORD kHangMs = 10000;

// Handles this thread's messages, timers included, until `handled` has answered true for `count`
// of them (asked for each message after it was dispatched). False when kHangMs passed first.
template <typename Predicate> bool PumpUntilHandled(int count, Predicate handled)
{
    const ULONGLONG deadline = GetTickCount64() + kHangMs;
    int seen = 0;
    for (;;)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (handled(msg) && ++seen >= count)
                return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

// A tick of the timer nIDEvent of hWnd, as it is dispatched (to its window or its timer procedure).
inline auto TimerTickOf(HWND hWnd, UINT_PTR nIDEvent)
{
    return [hWnd, nIDEvent](const MSG& msg)
    { return msg.hwnd == hWnd && msg.message == WM_TIMER && msg.wParam == nIDEvent; };
}

// The directory of this test program, with a trailing backslash.
inline std::string TestProgramDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

// While alive, the prefix opens http addresses with LinkOpenRecorder.exe (built beside the link
// tests; a test elsewhere names its path), which writes each address it receives as a line of a
// file of this object's own. The handler lives under HKLM (Wine ignores one under HKCU), so tests
// that use this hold the http_handler lock. The previous handler comes back on destruction.
class ShellOpenRecorder
{
public:
    explicit ShellOpenRecorder(std::string recorder = TestProgramDirectory() +
                                                      "LinkOpenRecorder.exe")
        : m_recorder(std::move(recorder))
    {
        static int s_serial = 0;
        m_output = TestProgramDirectory() + "link-opened-" + std::to_string(GetCurrentProcessId()) +
                   "-" + std::to_string(++s_serial) + ".txt";
        DeleteFileA(m_output.c_str());
        m_hadPrevious = ReadCommand(&m_previous);
        if (m_previous.find("LinkOpenRecorder") != std::string::npos)
            m_previous = kWineDefault; // left behind by a test that died
        UseRecorder();
    }
    ~ShellOpenRecorder()
    {
        if (m_hadPrevious)
            WriteCommand(m_previous);
        else
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kCommandKey, nullptr);
        DeleteFileA(m_output.c_str());
    }
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    void UseRecorder() { WriteCommand("\"" + m_recorder + "\" \"" + m_output + "\" \"%1\""); }
    // A handler whose program does not exist: the shell's open fails.
    void UseMissingProgram() { WriteCommand("\"Z:\\nonexistent\\no-browser.exe\" \"%1\""); }

    // The address that OpenedUpToMarker opens itself.
    static constexpr const char* kMarker = "http://marker.example/";

    // The addresses opened so far: waits up to 10 s for the `expected` ones (the recorder is a
    // process of its own, slow to start on a busy machine or under emulation).
    std::vector<std::string> Opened(size_t expected = 1) const
    {
        return WithoutMarkers(WaitForLines(expected, 10000));
    }

    // Every address opened so far and nothing that is still to come: waits up to 10 s for the
    // `expected` ones, then opens kMarker through the shell as the label opens an address and
    // waits up to 10 s for it. An open that the steps before started had its recorder started
    // before the marker's, however slow that recorder is, so it shows here; a short wait for
    // "nothing" would miss it. The markers are left out of the result.
    std::vector<std::string> OpenedUpToMarker(size_t expected = 0) const
    {
        const size_t markers = MarkersIn(WaitForLines(expected, 10000));
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, "open", kMarker, nullptr, nullptr, SW_SHOWNORMAL));
        EXPECT_GT(result, 32) << "the marker could not be opened";
        const ULONGLONG deadline = GetTickCount64() + 10000;
        std::vector<std::string> lines = ReadLines();
        while (MarkersIn(lines) <= markers && GetTickCount64() < deadline)
        {
            Sleep(20);
            lines = ReadLines();
        }
        EXPECT_EQ(MarkersIn(lines), markers + 1) << "the marker was not recorded within 10 s";
        return WithoutMarkers(lines);
    }

private:
    static size_t MarkersIn(const std::vector<std::string>& lines)
    {
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), kMarker));
    }
    static std::vector<std::string> WithoutMarkers(std::vector<std::string> lines)
    {
        std::erase(lines, kMarker);
        return lines;
    }

    std::vector<std::string> WaitForLines(size_t count, DWORD timeoutMs) const
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        std::vector<std::string> lines = ReadLines();
        while (lines.size() - MarkersIn(lines) < count && GetTickCount64() < deadline)
        {
            Sleep(20);
            lines = ReadLines();
        }
        return lines;
    }

    static constexpr const char* kCommandKey = "Software\\Classes\\http\\shell\\open\\command";
    static constexpr const char* kWineDefault = "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"";

    static bool ReadCommand(std::string* command)
    {
        char buffer[1024] = {};
        DWORD cb = sizeof(buffer);
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                         &cb) != ERROR_SUCCESS)
            return false;
        *command = buffer;
        return true;
    }
    static void WriteCommand(const std::string& command)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCommandKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &hKey, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(hKey);
    }

    std::vector<std::string> ReadLines() const
    {
        std::vector<std::string> lines;
        HANDLE hFile = CreateFileA(m_output.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return lines;
        std::string text;
        char chunk[512];
        DWORD cb = 0;
        while (ReadFile(hFile, chunk, sizeof(chunk), &cb, nullptr) && cb > 0)
            text.append(chunk, cb);
        CloseHandle(hFile);
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    std::string m_recorder;
    std::string m_output;
    std::string m_previous;
    bool m_hadPrevious = false;
};

// The clipboard as another program sees it. Opening retries for about 2 s: Wine's clipboard
// manager may hold it for a moment.
class ClipboardAccess
{
public:
    ClipboardAccess() : m_open(OpenWithRetry()) {}
    ~ClipboardAccess()
    {
        if (m_open)
            CloseClipboard();
    }
    ClipboardAccess(const ClipboardAccess&) = delete;
    ClipboardAccess& operator=(const ClipboardAccess&) = delete;

    bool IsOpen() const { return m_open; }

    // CF_TEXT up to its terminating zero, or "<none>".
    std::string Text() const
    {
        HANDLE hData = GetClipboardData(CF_TEXT);
        if (hData == nullptr)
            return "<none>";
        const char* pText = static_cast<const char*>(GlobalLock(hData));
        std::string text = pText != nullptr ? pText : "<unlocked>";
        GlobalUnlock(hData);
        return text;
    }
    bool Has(UINT format) const { return IsClipboardFormatAvailable(format) != FALSE; }

    // Replaces the content with `text` as CF_TEXT and the same bytes under the private format.
    void Fill(const std::string& text, UINT privateFormat) const
    {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, Block(text));
        SetClipboardData(privateFormat, Block(text));
    }

    static UINT PrivateFormat() { return RegisterClipboardFormatA("StartupLinkTestMarker"); }

private:
    static bool OpenWithRetry()
    {
        for (int attempt = 0; attempt < 100; ++attempt)
        {
            if (OpenClipboard(nullptr))
                return true;
            Sleep(20);
        }
        return false;
    }
    static HGLOBAL Block(const std::string& text)
    {
        HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(hData), text.c_str(), text.size() + 1);
        GlobalUnlock(hData);
        return hData;
    }

    bool m_open;
};

// While alive, notices every popup menu window this thread creates (class "#32768") and records
// where it shows and what it holds. With chooseFirstItem, each menu is then answered with the
// keys Down and Enter, which pick its first item; otherwise with Escape. Either way
// TrackPopupMenu comes back by itself.
class PopupMenuWatcher
{
public:
    explicit PopupMenuWatcher(bool chooseFirstItem) : m_choose(chooseFirstItem)
    {
        s_current = this;
        m_hook = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
    }
    ~PopupMenuWatcher()
    {
        UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    PopupMenuWatcher(const PopupMenuWatcher&) = delete;
    PopupMenuWatcher& operator=(const PopupMenuWatcher&) = delete;

    struct Seen
    {
        RECT rect;    // the menu window's screen rectangle while it showed
        HMENU hMenu;  // the menu it showed
        int nItems;   // its item count then
        UINT firstId; // the command of its first item
    };
    int Created() const { return m_created; }
    const std::vector<Seen>& Shown() const { return m_seen; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        PopupMenuWatcher* self = s_current;
        if (self != nullptr && code == HCBT_CREATEWND)
        {
            HWND hWnd = reinterpret_cast<HWND>(wParam);
            char className[16] = {};
            GetClassNameA(hWnd, className, sizeof(className));
            if (std::string(className) == "#32768")
            {
                ++self->m_created;
                self->m_pending = hWnd;
                SetTimer(nullptr, 0, 10, &AnswerShownMenu);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // Timers still run inside the menu's own loop: the first tick finds the menu on screen.
    static void CALLBACK AnswerShownMenu(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        PopupMenuWatcher* self = s_current;
        if (self == nullptr || self->m_pending == nullptr || !IsWindow(self->m_pending))
            return;
        HWND hMenuWnd = self->m_pending;
        self->m_pending = nullptr;
        Seen seen = {};
        GetWindowRect(hMenuWnd, &seen.rect);
        seen.hMenu = reinterpret_cast<HMENU>(SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
        seen.nItems = GetMenuItemCount(seen.hMenu);
        seen.firstId = GetMenuItemID(seen.hMenu, 0);
        self->m_seen.push_back(seen);
        if (self->m_choose)
        {
            PostMessageA(hMenuWnd, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(hMenuWnd, WM_KEYDOWN, VK_RETURN, 0);
        }
        else
        {
            PostMessageA(hMenuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    }

    static inline PopupMenuWatcher* s_current = nullptr;
    HHOOK m_hook = nullptr;
    bool m_choose;
    int m_created = 0;
    HWND m_pending = nullptr;
    std::vector<Seen> m_seen;
};

// What a label paints, kept from one paint to the next as a window's surface keeps it: a 32-bit
// bitmap of the label's client size, first filled with `background`, into which the label paints
// itself (WM_PRINTCLIENT: the same painting as WM_PAINT, colour request to the parent included).
class LabelCanvas
{
public:
    explicit LabelCanvas(HWND hLabel, COLORREF background = RGB(255, 255, 255)) : m_hLabel(hLabel)
    {
        RECT rc = {};
        GetClientRect(hLabel, &rc);
        m_cx = rc.right;
        m_cy = rc.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_cx;
        info.bmiHeader.biHeight = -m_cy; // top-down: row y starts at m_bits + y * m_cx
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_hdc = CreateCompatibleDC(nullptr);
        void* pBits = nullptr;
        m_hBitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_bits = static_cast<const DWORD*>(pBits);
        m_hOld = SelectObject(m_hdc, m_hBitmap);
        HBRUSH hBrush = CreateSolidBrush(background);
        FillRect(m_hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }
    ~LabelCanvas()
    {
        SelectObject(m_hdc, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hdc);
    }
    LabelCanvas(const LabelCanvas&) = delete;
    LabelCanvas& operator=(const LabelCanvas&) = delete;

    // The label paints itself over what the canvas holds.
    void Paint()
    {
        SendMessageA(m_hLabel, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hdc), PRF_CLIENT);
        GdiFlush();
    }

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    COLORREF At(int x, int y) const
    {
        const DWORD p = m_bits[y * m_cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }
    // The longest run of pixels of exactly `colour` in one row, and its row: an underline is one.
    struct Run
    {
        int length = 0;
        int row = -1;
    };
    Run LongestRun(COLORREF colour) const
    {
        Run longest;
        for (int y = 0; y < m_cy; ++y)
        {
            int run = 0;
            for (int x = 0; x < m_cx; ++x)
            {
                run = At(x, y) == colour ? run + 1 : 0;
                if (run > longest.length)
                    longest = {run, y};
            }
        }
        return longest;
    }

private:
    HWND m_hLabel;
    HDC m_hdc = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    const DWORD* m_bits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};

// The size of a window's text measured in one piece, in hFont or else in the font it reports.
inline SIZE TextExtentOf(HWND hWnd, HGDIOBJ hFont = nullptr)
{
    char text[512] = {};
    GetWindowTextA(hWnd, text, sizeof(text));
    HDC hdc = GetDC(hWnd);
    if (hFont == nullptr)
        hFont = reinterpret_cast<HGDIOBJ>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {};
    GetTextExtentPoint32A(hdc, text, lstrlenA(text), &size);
    SelectObject(hdc, hOld);
    ReleaseDC(hWnd, hdc);
    return size;
}

// The label painted afresh shows its text (of the given size) underlined in `colour`: glyphs of
// that colour, and below their middle a line of exactly that colour as long as the text.
inline void ExpectUnderlinedIn(HWND hLabel, COLORREF colour, SIZE text)
{
    LabelCanvas canvas(hLabel);
    canvas.Paint();
    const LabelCanvas::Run line = canvas.LongestRun(colour);
    EXPECT_GE(line.length, text.cx - 2) << "an underline as long as the text";
    EXPECT_LE(line.length, text.cx + 2) << "in the row " << line.row;
    EXPECT_GT(line.row, text.cy / 2) << "below the glyphs' middle";
    EXPECT_LT(line.row, text.cy + 2) << "under the first line";
    // Glyph pixels: above the line, nearer the colour than the background (their edges are
    // smoothed into it). The canvas's top right corner is background: the text is narrower.
    const COLORREF background = canvas.At(canvas.Width() - 1, 0);
    const auto distance = [](COLORREF a, COLORREF b)
    {
        const int dr = GetRValue(a) - GetRValue(b);
        const int dg = GetGValue(a) - GetGValue(b);
        const int db = GetBValue(a) - GetBValue(b);
        return dr * dr + dg * dg + db * db;
    };
    int glyphPixels = 0;
    for (int y = 0; y < line.row - 1; ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            glyphPixels +=
                distance(canvas.At(x, y), colour) < distance(canvas.At(x, y), background);
    // A thin face (AR PL UMing, the Traditional Chinese set's stand-in) leaves few such pixels.
    EXPECT_GT(glyphPixels, 8) << "the text itself is drawn in the colour";
}

// Steps run one after another from a thread timer while this thread sits in a modal loop (a
// dialog's DoModal): a step answers true when it is done and false to be tried again at the next
// tick. Steps never run nested inside each other. If the steps have not all finished within the
// time limit, every dialog of the thread is closed so that the modal loops end, and the test fails.
// Should the thread itself be blocked (a step that never returns, or a loop that no longer
// dispatches the timer), that cannot help: a watchdog thread then names the step that was running
// and ends the program, instead of leaving the hang to the test runner's time limit. The watchdog
// is one thread for the whole program that holds no handle, so that it never shows in the counts
// of what a test leaves behind.
class ModalSteps
{
public:
    using Step = std::function<bool()>;

    explicit ModalSteps(DWORD timeoutMs = 15000) : m_timeoutMs(timeoutMs) {}
    ~ModalSteps()
    {
        if (m_timer != 0)
            KillTimer(nullptr, m_timer);
        s_watched = false;
        s_current = nullptr;
    }
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    ModalSteps& Then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }

    // Starts ticking; call it right before the DoModal that the steps drive.
    void Start()
    {
        s_current = this;
        m_deadline = GetTickCount64() + m_timeoutMs;
        m_timer = SetTimer(nullptr, 0, 20, &Tick);
        s_blockedAfter = m_deadline + kBlockedMs;
        s_step = 0;
        s_inStep = false;
        s_watched = true;
        StartWatchdogOnce();
    }

    bool Finished() const { return m_next == m_steps.size(); }

private:
    // How long past the time limit the steps may still be unfinished before the thread counts as
    // blocked: the limit itself, when the timer closes the dialogs, comes first.
    static constexpr ULONGLONG kBlockedMs = 60000;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalSteps* self = s_current;
        if (self == nullptr || self->m_busy || self->Finished())
            return;
        if (GetTickCount64() > self->m_deadline)
        {
            ADD_FAILURE() << "modal steps timed out at step " << self->m_next;
            self->m_next = self->m_steps.size();
            s_watched = false;
            EnumThreadWindows(GetCurrentThreadId(), &CloseDialog, 0);
            return;
        }
        self->m_busy = true;
        s_step = self->m_next;
        s_inStep = true;
        if (self->m_steps[self->m_next]())
            ++self->m_next;
        s_inStep = false;
        self->m_busy = false;
        if (self->Finished())
            s_watched = false;
    }

    static void StartWatchdogOnce()
    {
        static const bool s_started = []
        {
            HANDLE hThread = CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);
            if (hThread != nullptr)
                CloseHandle(hThread);
            return hThread != nullptr;
        }();
        (void)s_started;
    }

    static DWORD WINAPI Watchdog(LPVOID)
    {
        for (;;)
        {
            Sleep(1000);
            if (!s_watched || GetTickCount64() < s_blockedAfter)
                continue;
            printf("modal steps: the test's thread is blocked %s step %u, %llu s past the time "
                   "limit; ending the program\n",
                   s_inStep ? "inside" : "before", static_cast<unsigned>(s_step.load()),
                   kBlockedMs / 1000);
            fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }

    static BOOL CALLBACK CloseDialog(HWND hWnd, LPARAM)
    {
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof(className));
        if (std::string(className) == "#32770")
            PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    static inline ModalSteps* s_current = nullptr;
    // What the watchdog reads: whether steps are under way, until when they may take, and where
    // they are.
    static inline std::atomic<bool> s_watched{false};
    static inline std::atomic<ULONGLONG> s_blockedAfter{0};
    static inline std::atomic<size_t> s_step{0};
    static inline std::atomic<bool> s_inStep{false};
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_busy = false;
    DWORD m_timeoutMs;
    ULONGLONG m_deadline = 0;
    UINT_PTR m_timer = 0;
};
