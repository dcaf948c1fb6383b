// The built program as a user meets it: started as a process of its own, its dialog found among
// the desktop's windows, clicked and typed into from outside, closed, and its registry values
// read afterwards.
//
// Input goes to the controls as posted messages (BM_CLICK, WM_CHAR per character), not through
// SendInput: posted messages reach exactly the control they are meant for and still pass through
// the program's own modal loop and dialog manager, and each edit runs its own character handling
// (the port field drops what is not a digit). SendInput does work on the null graphics driver once
// the dialog has the foreground (the cursor moves, clicks and keys land), but the foreground, the
// focus and the cursor belong to the whole wineserver: any other test program that ctest runs at
// the same time and that shows or activates a window can take them between two inputs.
#include "settings/PasswordCodec.h"
#include "support/LanguageTexts.h"
#include "support/ProcessDialogs.h"
#include "support/ReadOnlyKey.h"
#include "support/RegistrySnapshot.h"
#include "support/ScratchKey.h"
#include "support/StoredPassword.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
const DWORD kPatienceMs = 15000;

// The program under test is a process of its own and uses the real HKEY_CURRENT_USER, which no
// redirection in this process reaches; these tests write and delete the application's key there.
// So they run only in the build's private Wine prefix, whose user is nobody's: anywhere else
// (another prefix, the user's own, Windows) no test runs and the program fails.
class PrivateWinePrefixOnly : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
        ASSERT_TRUE(hNtdll != nullptr && GetProcAddress(hNtdll, "wine_get_version") != nullptr)
            << "not running under Wine: these tests would change this user's settings";
        char szPrefix[MAX_PATH] = {};
        const DWORD cch = GetEnvironmentVariableA("WINEPREFIX", szPrefix, MAX_PATH);
        std::string prefix(szPrefix, cch < MAX_PATH ? cch : 0);
        while (prefix.size() > 1 && prefix.back() == '/')
            prefix.pop_back();
        ASSERT_EQ(prefix, STARTUP_TEST_WINE_PREFIX)
            << "WINEPREFIX is not the build's private prefix: these tests would change the "
               "settings of that prefix's user";
    }
};
[[maybe_unused]] const auto* const kPrivatePrefixOnly =
    ::testing::AddGlobalTestEnvironment(new PrivateWinePrefixOnly);

// Control ids of the main dialog, as a user finds them on screen.
const int kEnableBGM = 1003;
const int kMessageText = 0xFFFF; // the text static of a message box
const int kHomePageLink = 1016;  // marks the version dialog
const UINT kVersionCommand = 16; // the system menu's version item
const int kEnableSound = 1004;
const int kUseProxyNamed = 1008;
const int kHost = 1009;
const int kPort = 1010;
const int kUser = 1011;
const int kPassword = 1012;

bool WaitUntil(const std::function<bool()>& condition)
{
    return ::WaitUntil(condition, kPatienceMs);
}

// A visible dialog of that process other than hDlg (a message box or the version dialog).
HWND WaitForOtherDialog(DWORD dwProcessId, HWND hDlg)
{
    HWND hOther = nullptr;
    WaitUntil([&] { return (hOther = VisibleDialogOf(dwProcessId, hDlg)) != nullptr; });
    return hOther;
}

// The program started from its built file; ended by force if a test leaves it running.
class ProgramRun : public ChildProgram
{
public:
    ProgramRun() : ChildProgram(Widened(STARTUP_SETTINGS_EXE), kPatienceMs) {}

    HWND WaitForDialog() const
    {
        HWND hDlg = nullptr;
        WaitUntil([&] { return (hDlg = VisibleDialogOf(ProcessId())) != nullptr; });
        return hDlg;
    }

private:
    // The build's path is ASCII.
    static std::wstring Widened(const char* psz) { return std::wstring(psz, psz + strlen(psz)); }
};

class SettingsEndToEndTest : public ::testing::Test
{
protected:
    ScratchKey appKey{kAppKey};
};

TEST_F(SettingsEndToEndTest, ConfirmSavesWhatTheUserClickedAndTyped)
{
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";

    ClickFromOutside(hDlg, kEnableSound);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableSound)); }));

    ClickFromOutside(hDlg, kUseProxyNamed);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; }))
        << "the proxy fields did not become enabled";

    TypeFromOutside(hDlg, kHost, "proxy.example");
    EXPECT_TRUE(WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kHost)) == "proxy.example"; }))
        << ControlTextA(GetDlgItem(hDlg, kHost));

    // The port field takes digits only: the letters typed among them are dropped.
    TypeFromOutside(hDlg, kPort, "8a0b80");
    EXPECT_TRUE(WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kPort)) == "8080"; }))
        << ControlTextA(GetDlgItem(hDlg, kPort));

    TypeFromOutside(hDlg, kUser, "alice");
    EXPECT_TRUE(WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kUser)) == "alice"; }));

    const std::string password = "pa55 w0rd!";
    TypeFromOutside(hDlg, kPassword, password);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            return ControlTextLength(GetDlgItem(hDlg, kPassword)) ==
                   static_cast<LRESULT>(password.size());
        }));

    ClickFromOutside(hDlg, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_TRUE(TopLevelWindowsOf(program.ProcessId()).empty()) << "a window remained";

    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableSound", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableMovie", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "proxy.example:8080");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "alice");
    const std::string scrambled = appKey.ReadSz("Login", "ProxyPasswd");
    EXPECT_NE(scrambled, password);
    EXPECT_EQ(UnscrambledPassword(scrambled), password);
}

TEST_F(SettingsEndToEndTest, CloseBoxEndsTheProgramWithoutWriting)
{
    char* pszScrambled = nullptr;
    ASSERT_EQ(ScramblePassword("hunter2", PROXY_PASSWD_KEY, &pszScrambled), 1);
    appKey.WriteDword("Configs", "EnableMovie", 0);
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteSz("Login", "ProxyServer", "p.example:3128");
    appKey.WriteSz("Login", "ProxyUser", "bob");
    appKey.WriteSz("Login", "ProxyPasswd", pszScrambled);
    FreePasswordBuffer(pszScrambled);
    const auto stored = SnapshotRegistry(kAppKey);

    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kHost)), "p.example") << "shows what is stored";

    ClickFromOutside(hDlg, kEnableBGM);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)); }));
    TypeFromOutside(hDlg, kHost, "other.example");
    EXPECT_TRUE(
        WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kHost)) == "other.example"; }));

    PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_TRUE(TopLevelWindowsOf(program.ProcessId()).empty()) << "a window remained";
    EXPECT_EQ(SnapshotRegistry(kAppKey), stored);
}
// What the program shows, read as the user reads it: right in the user's language set, also where
// the system's code page holds none of its script (ctest runs this program again under a German
// locale and under a Korean display language on a Western code page).
TEST_F(SettingsEndToEndTest, CaptionPromptsMessagesAndVersionTitleReadInTheUsersLanguage)
{
    const LanguageTexts& texts = TextsForThisUser();
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    EXPECT_EQ(ShownText(hDlg), texts.caption) << "caption";

    // The framework's prompt for a port that is no number: an emptied port field, enabled (an
    // explicit proxy), since a disabled one is not checked.
    HWND hPort = GetDlgItem(hDlg, kPort);
    ClickFromOutside(hDlg, kUseProxyNamed);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(hPort) != FALSE; }));
    PostMessageA(hPort, EM_SETSEL, 0, -1);
    PostMessageA(hPort, WM_CHAR, VK_BACK, 1);
    ASSERT_TRUE(WaitUntil([&] { return ControlTextLength(hPort) == 0; }));
    ClickFromOutside(hDlg, IDOK);
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "no prompt appeared";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus") << "prompt caption";
    EXPECT_EQ(ShownItemText(hBox, kMessageText), texts.notANumber) << "prompt";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));

    // The message while the game runs.
    TypeFromOutside(hDlg, kPort, "80");
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(hPort) == "80"; }));
    HANDLE hGame = CreateMutexA(nullptr, TRUE, "Velmora Mutex");
    ASSERT_NE(hGame, nullptr);
    ClickFromOutside(hDlg, IDOK);
    hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    CloseHandle(hGame);
    ASSERT_NE(hBox, nullptr) << "no message appeared";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus") << "message caption";
    EXPECT_EQ(ShownItemText(hBox, kMessageText), texts.gameRunning) << "message";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));

    // The version dialog's title line.
    PostMessageA(hDlg, WM_SYSCOMMAND, kVersionCommand, 0);
    HWND hVersion = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hVersion, nullptr) << "no version dialog appeared";
    EXPECT_NE(GetDlgItem(hVersion, kHomePageLink), nullptr);
    EXPECT_EQ(ShownItemText(hVersion, 1013), texts.caption) << "version title line";
    PostMessageA(hVersion, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hVersion); }));

    PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ValueCount(SnapshotRegistry(kAppKey)), 0u) << "nothing written";
}
// The Login key made readable only, for real, before the program starts: the stored proxy still
// shows (reading asks for read access only); confirming reports the refusal, writes nothing and
// leaves the dialog open; once the key is writable again, confirming saves and ends the program.
TEST_F(SettingsEndToEndTest, ARefusedSaveIsReportedAndTheDialogStaysOpenUntilItSaves)
{
    appKey.WriteDword("Configs", "EnableBGM", 1);
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteSz("Login", "ProxyServer", "p.example:3128");
    ReadOnlyKey readOnly{std::string(kAppKey) + "\\Login"};
    ASSERT_TRUE(readOnly.Refuses());
    const auto stored = SnapshotRegistry(kAppKey);

    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kHost)), "p.example") << "shows what is stored";
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kPort)), "3128");
    EXPECT_TRUE(IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxyNamed)));
    ClickFromOutside(hDlg, kEnableBGM);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)); }));

    ClickFromOutside(hDlg, IDOK);
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "the refusal was not reported";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus");
    EXPECT_EQ(ShownItemText(hBox, kMessageText), TextsForThisUser().saveFailed);
    EXPECT_EQ(SnapshotRegistry(kAppKey), stored) << "nothing written, not half of it";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));
    EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";

    readOnly.Restore();
    ClickFromOutside(hDlg, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u) << "as loaded";
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "p.example:3128");
}

// A port typed into the host field ("proxy.example:3128" with port 80) would be stored as
// "proxy.example:3128:80" and read back as another host and port: the host is refused in its
// field, with nothing stored.
TEST_F(SettingsEndToEndTest, AHostTypedWithItsPortIsRefusedWithTheFieldSelected)
{
    const std::string host = "proxy.example:3128";
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    ClickFromOutside(hDlg, kUseProxyNamed);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; }));
    HWND hHost = GetDlgItem(hDlg, kHost);
    TypeFromOutside(hDlg, kHost, host);
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(hHost) == host; })) << ControlTextA(hHost);
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kPort)), "80");

    ClickFromOutside(hDlg, IDOK);
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "the host was not refused";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus");
    EXPECT_EQ(ShownItemText(hBox, kMessageText), TextsForThisUser().colonInHost);
    EXPECT_EQ(ValueCount(SnapshotRegistry(kAppKey)), 0u) << "nothing written";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));

    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            return GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &thread) &&
                   thread.hwndFocus == hHost;
        }))
        << "the focus is on the host field";
    DWORD_PTR nSelection = 0;
    SendMessageTimeoutW(hHost, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &nSelection);
    EXPECT_EQ(LOWORD(nSelection), 0u);
    EXPECT_EQ(HIWORD(nSelection), host.size()) << "its whole text is selected";
    EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";

    PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ValueCount(SnapshotRegistry(kAppKey)), 0u) << "nothing written";
}

// A damaged port stored beside "no proxy" shows in the disabled port field; it is not checked,
// so a player who only switches the music off can save, and no server is stored with no proxy.
TEST_F(SettingsEndToEndTest, ADamagedPortBesideNoProxyDoesNotBlockTheSave)
{
    for (const char* pszServer : {"p:70000", "p:-1"})
    {
        SCOPED_TRACE(pszServer);
        ScratchKey freshKey{kAppKey};
        appKey.WriteDword("Login", "UseProxy", 1);
        appKey.WriteSz("Login", "ProxyServer", pszServer);
        ProgramRun program;
        ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
        HWND hDlg = program.WaitForDialog();
        ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
        HWND hPort = GetDlgItem(hDlg, kPort);
        EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kHost)), "p");
        EXPECT_EQ(IsWindowEnabled(hPort), FALSE) << "the port field is disabled";

        ClickFromOutside(hDlg, kEnableBGM);
        ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)); }));
        ClickFromOutside(hDlg, IDOK);
        EXPECT_EQ(program.WaitForExit(), 0u) << "the save was blocked";
        EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
        EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u);
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "");
    }
}

// A password with a character that the stored values' code page lacks ("café" for a Korean user,
// Hangul for a German one) is refused: the field gets the focus with its text selected, and
// nothing is stored, neither the password as a look-alike nor anything else.
TEST_F(SettingsEndToEndTest, APasswordTheStoredValuesCannotHoldIsRefusedWithTheFieldSelected)
{
    const std::wstring password = L"pa" + AnsiCodePageSample(false);
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    ClickFromOutside(hDlg, kUseProxyNamed);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; }));
    TypeFromOutside(hDlg, kHost, "proxy.example");
    HWND hPassword = GetDlgItem(hDlg, kPassword);
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hPassword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &nResult);
    ASSERT_TRUE(
        WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kHost)) == "proxy.example"; }));

    ClickFromOutside(hDlg, IDOK);
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "the password was not refused";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus");
    EXPECT_EQ(ShownItemText(hBox, kMessageText), TextsForThisUser().unstorable);
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));

    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            return GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &thread) &&
                   thread.hwndFocus == hPassword;
        }))
        << "the focus is on the password field";
    DWORD_PTR nSelection = 0;
    SendMessageTimeoutW(hPassword, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &nSelection);
    EXPECT_EQ(LOWORD(nSelection), 0u);
    EXPECT_EQ(HIWORD(nSelection), password.size()) << "its whole text is selected";
    EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";

    PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ValueCount(SnapshotRegistry(kAppKey)), 0u) << "nothing written";
}
} // namespace
