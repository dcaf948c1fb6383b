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
#include "res/DialogTemplate.h"
#include "res/ResourceModule.h"
#include "res/resource.h"
#include "settings/PasswordCodec.h"
#include "support/LanguageTexts.h"
#include "support/GrantedKey.h"
#include "support/ProcessDialogs.h"
#include "support/ReadOnlyKey.h"
#include "support/RegistrySnapshot.h"
#include "support/ScratchKey.h"
#include "support/StoredPassword.h"
#include "support/WindowText.h"
#include "ui/link/LinkTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
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
const int kCommunityLink = 1015;
const int kEnableMovie = 1005;
const int kUseProxy = 1006;
const int kUseProxyPreconfig = 1007;

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

// The control of the program that has the keyboard focus.
HWND FocusOf(HWND hDlg)
{
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &thread))
        return nullptr;
    return thread.hwndFocus;
}

// A key pressed and released on the focused control, posted as the keyboard brings it, so that
// the program's modal loop and its dialog manager handle it first.
void PressKeyFromOutside(HWND hDlg, UINT vk)
{
    HWND hFocus = FocusOf(hDlg);
    PostMessageW(hFocus, WM_KEYDOWN, vk, 1);
    PostMessageW(hFocus, WM_KEYUP, vk, 0xC0000001);
}

// Characters typed into the focused control, one WM_CHAR each.
void TypeIntoFocus(HWND hDlg, const std::string& text)
{
    HWND hFocus = FocusOf(hDlg);
    for (unsigned char ch : text)
        PostMessageW(hFocus, WM_CHAR, ch, 1);
}

bool HasTabStop(HWND hWnd)
{
    return (GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

// Tab, and where the focus lands: the control nID, which must carry WS_TABSTOP, since on Windows
// the dialog manager moves Tab to no other control (Wine's also stops on a checked radio button
// without it).
::testing::AssertionResult TabReaches(HWND hDlg, int nID)
{
    HWND hExpected = GetDlgItem(hDlg, nID);
    PressKeyFromOutside(hDlg, VK_TAB);
    if (!::WaitUntil([&] { return FocusOf(hDlg) == hExpected; }, kPatienceMs))
        return ::testing::AssertionFailure() << "Tab did not reach " << nID << "; the focus is on "
                                             << GetDlgCtrlID(FocusOf(hDlg));
    if (!HasTabStop(hExpected))
        return ::testing::AssertionFailure()
               << "the focus landed on " << nID << ", which has no WS_TABSTOP: Tab on Windows "
               << "passes it by";
    return ::testing::AssertionSuccess();
}

// A visible popup menu of the process, or null.
HWND ShownMenuOf(DWORD dwProcessId)
{
    for (HWND hWnd : TopLevelWindowsOf(dwProcessId))
    {
        wchar_t szClass[16] = {};
        GetClassNameW(hWnd, szClass, 16);
        if (lstrcmpW(szClass, L"#32768") == 0 && IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

// Keys sent as input from the real keyboard path, each pressed and released in the order given,
// to the program's dialog brought to the foreground.
void SendKeysAsInput(HWND hDlg, std::initializer_list<std::pair<WORD, bool>> keys)
{
    SetForegroundWindow(hDlg);
    ::WaitUntil([&] { return GetForegroundWindow() == hDlg; }, kPatienceMs);
    std::vector<INPUT> inputs;
    for (const auto& [vk, bDown] : keys)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = bDown ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Shift+F10 as input, so that the program's thread sees Shift held (a posted key carries no key
// state).
void PressShiftF10(HWND hDlg)
{
    SendKeysAsInput(hDlg, {{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}});
}

// Esc for an open menu, as input too: a thread takes posted messages before input, so a posted
// Esc could close the menu while the Shift of Shift+F10 still reads as held, and the next posted
// Tab would then move backwards.
void PressEscapeAfterShiftF10(HWND hDlg)
{
    SendKeysAsInput(hDlg, {{VK_ESCAPE, true}, {VK_ESCAPE, false}});
}

// Chooses the explicit proxy as a click from outside does; true once its fields are enabled.
bool ChooseExplicitProxyFromOutside(HWND hDlg)
{
    ClickFromOutside(hDlg, kUseProxyNamed);
    return WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; });
}

// The program's dialog template nID in the language set this user gets, read from the built
// program's resources.
DialogTemplate TemplateOfThisUsersSet(WORD nID)
{
    static const ResourceModule program(STARTUP_SETTINGS_EXE);
    std::vector<unsigned char> data;
    DialogTemplate dialog;
    EXPECT_TRUE(program.Load(kDialogType, nID, TextsForThisUser().language, &data) &&
                ParseDialogTemplate(data, &dialog))
        << "dialog " << nID << " of set " << TextsForThisUser().name;
    return dialog;
}

// What a reader is told of every label, box and button of the dialog (WM_GETTEXT, wide) is the text
// its template gives it: the template's texts reach the controls in UTF-16, whatever the system's
// code page. The controls are the template's items in order (the labels share the id -1). Left
// out: the edits, which hold what the user typed, pictures, and the controls in setAtRunTime,
// whose texts the program sets itself and the callers check.
void ExpectEveryChildReadsAsItsTemplate(HWND hDlg, WORD nTemplate,
                                        std::initializer_list<int> setAtRunTime)
{
    const DialogTemplate dialog = TemplateOfThisUsersSet(nTemplate);
    HWND hChild = GetWindow(hDlg, GW_CHILD);
    for (const DialogItem& item : dialog.items)
    {
        ASSERT_NE(hChild, nullptr) << "fewer controls than the template has";
        const int nID = GetDlgCtrlID(hChild);
        const bool bEdit = item.windowClass == NameOrOrdinal::Ordinal(0x81) ||
                           item.windowClass == NameOrOrdinal::Name(L"EDIT");
        const bool bSetAtRunTime = std::count(setAtRunTime.begin(), setAtRunTime.end(), nID) != 0;
        if (!bEdit && !item.text.isOrdinal && !bSetAtRunTime)
        {
            EXPECT_EQ(ShownText(hChild), Utf8Of(item.text.name)) << "control " << nID;
        }
        hChild = GetWindow(hChild, GW_HWNDNEXT);
    }
    EXPECT_EQ(hChild, nullptr) << "more controls than the template has";
}

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

    ASSERT_TRUE(ChooseExplicitProxyFromOutside(hDlg)) << "the proxy fields did not become enabled";

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

// A player without a mouse: from the first switch, Tab through the switches to "use proxy" and the
// checked proxy mode, Down to the explicit proxy, Tab through host, port, user and password typing
// each, and Enter to save.
TEST_F(SettingsEndToEndTest, AKeyboardOnlyWalkSetsUpANamedProxyWithUserAndPassword)
{
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(hDlg) == GetDlgItem(hDlg, kEnableBGM); }))
        << "the first switch has the focus at the start";

    for (int nID : {kEnableSound, kEnableMovie, kUseProxy, kUseProxyPreconfig})
        ASSERT_TRUE(TabReaches(hDlg, nID));
    PressKeyFromOutside(hDlg, VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; }))
        << "Down did not choose the explicit proxy";
    EXPECT_EQ(FocusOf(hDlg), GetDlgItem(hDlg, kUseProxyNamed));
    EXPECT_TRUE(IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxyNamed)));

    struct Field
    {
        int nID;
        const char* typed;
        const char* shown; // the port replaces its selected "80"
    };
    const Field fields[] = {{kHost, "proxy.example", "proxy.example"},
                            {kPort, "8080", "8080"},
                            {kUser, "alice", "alice"},
                            {kPassword, "pa55 w0rd", nullptr}};
    for (const Field& field : fields)
    {
        SCOPED_TRACE(field.nID);
        ASSERT_TRUE(TabReaches(hDlg, field.nID));
        TypeIntoFocus(hDlg, field.typed);
        HWND hField = GetDlgItem(hDlg, field.nID);
        if (field.shown != nullptr)
            EXPECT_TRUE(WaitUntil([&] { return ControlTextA(hField) == field.shown; }))
                << ControlTextA(hField);
        else
            EXPECT_TRUE(WaitUntil(
                [&] {
                    return ControlTextLength(hField) == static_cast<LRESULT>(strlen(field.typed));
                }));
    }
    PressKeyFromOutside(hDlg, VK_RETURN);
    EXPECT_EQ(program.WaitForExit(), 0u) << "Enter confirms";

    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "proxy.example:8080");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "alice");
    EXPECT_EQ(UnscrambledPassword(appKey.ReadSz("Login", "ProxyPasswd")), "pa55 w0rd");
}

// The version dialog with the keyboard: Tab from OK to each link, Enter opens it (and does not
// press OK), Shift+F10 opens its copy menu at the link, Esc closes the dialog.
TEST_F(SettingsEndToEndTest, KeyboardReachesEachVersionLinkOpensItWithEnterAndItsMenuWithShiftF10)
{
    ShellOpenRecorder recorder(STARTUP_LINK_RECORDER_EXE);
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    PostMessageW(hDlg, WM_SYSCOMMAND, kVersionCommand, 0);
    HWND hVersion = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hVersion, nullptr) << "no version dialog appeared";
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(hVersion) == GetDlgItem(hVersion, IDOK); }))
        << "OK has the focus at the start";

    const struct
    {
        int nID;
        const char* address;
    } links[] = {{kHomePageLink, "http://kr.orvane.example/"},
                 {kCommunityLink, "http://community.orvane.example/"}};
    std::vector<std::string> opened;
    for (const auto& link : links)
    {
        SCOPED_TRACE(link.nID);
        ASSERT_TRUE(TabReaches(hVersion, link.nID));
        PressKeyFromOutside(hVersion, VK_RETURN);
        opened.push_back(link.address);
        EXPECT_EQ(recorder.Opened(opened.size()), opened);
        EXPECT_TRUE(IsWindowVisible(hVersion)) << "Enter on a link does not press OK";

        PressShiftF10(hVersion);
        HWND hMenu = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return (hMenu = ShownMenuOf(program.ProcessId())) != nullptr; }))
            << "Shift+F10 opened no menu";
        RECT rcMenu = {};
        RECT rcLink = {};
        GetWindowRect(hMenu, &rcMenu);
        GetWindowRect(GetDlgItem(hVersion, link.nID), &rcLink);
        EXPECT_EQ(rcMenu.left, rcLink.left) << "the menu opens at the link";
        EXPECT_GE(rcMenu.top, rcLink.top);
        EXPECT_LE(rcMenu.top, rcLink.bottom + 4);
        PressEscapeAfterShiftF10(hVersion);
        ASSERT_TRUE(WaitUntil([&] { return ShownMenuOf(program.ProcessId()) == nullptr; }));
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(hVersion) == GetDlgItem(hVersion, link.nID); }))
            << "the focus stays on the link";
    }
    PressKeyFromOutside(hVersion, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hVersion); })) << "Esc closes the dialog";
    PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(recorder.OpenedUpToMarker(opened.size()), opened) << "nothing else opened";
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
// Confirms from outside and expects one message box over the dialog: captioned with the product
// title, saying text. The box is answered and gone when this returns.
void ExpectBoxOnConfirm(const ProgramRun& program, HWND hDlg, const std::string& text)
{
    ClickFromOutside(hDlg, IDOK);
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "no message appeared for: " << text;
    EXPECT_EQ(ShownText(hBox), "Corvath Plus") << "caption";
    EXPECT_EQ(ShownItemText(hBox, kMessageText), text) << "message";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));
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
    ExpectEveryChildReadsAsItsTemplate(hDlg, IDD_STARTUP_SETTINGS, {});

    // The framework's prompt for a port that is no number: an emptied port field, enabled (an
    // explicit proxy), since a disabled one is not checked.
    HWND hPort = GetDlgItem(hDlg, kPort);
    ASSERT_TRUE(ChooseExplicitProxyFromOutside(hDlg));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(hPort) != FALSE; }));
    PostMessageA(hPort, EM_SETSEL, 0, -1);
    PostMessageA(hPort, WM_CHAR, VK_BACK, 1);
    ASSERT_TRUE(WaitUntil([&] { return ControlTextLength(hPort) == 0; }));
    ASSERT_NO_FATAL_FAILURE(ExpectBoxOnConfirm(program, hDlg, texts.notANumber));

    // The message for an explicit proxy without a host.
    TypeFromOutside(hDlg, kPort, "80");
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(hPort) == "80"; }));
    ASSERT_NO_FATAL_FAILURE(ExpectBoxOnConfirm(program, hDlg, texts.noHost));

    // The message while the game runs.
    TypeFromOutside(hDlg, kHost, "p");
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kHost)) == "p"; }));
    HANDLE hGame = CreateMutexA(nullptr, TRUE, "Velmora Mutex");
    ASSERT_NE(hGame, nullptr);
    ExpectBoxOnConfirm(program, hDlg, texts.gameRunning);
    CloseHandle(hGame);
    ASSERT_FALSE(HasFatalFailure());

    // The version dialog's title line.
    PostMessageA(hDlg, WM_SYSCOMMAND, kVersionCommand, 0);
    HWND hVersion = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hVersion, nullptr) << "no version dialog appeared";
    EXPECT_NE(GetDlgItem(hVersion, kHomePageLink), nullptr);
    EXPECT_EQ(ShownItemText(hVersion, 1013), texts.caption) << "version title line";
    EXPECT_EQ(ShownText(hVersion), Utf8Of(TemplateOfThisUsersSet(IDD_VERSION_INFO).caption))
        << "version dialog caption";
    // The links show the Korean addresses in every set.
    EXPECT_EQ(ShownItemText(hVersion, kHomePageLink), "http://kr.orvane.example/");
    EXPECT_EQ(ShownItemText(hVersion, kCommunityLink), "http://community.orvane.example/");
    ExpectEveryChildReadsAsItsTemplate(hVersion, IDD_VERSION_INFO,
                                       {1013, kHomePageLink, kCommunityLink});
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

// After a confirm: the refusal's message box (the product title as caption, the expected text),
// and once it is answered, the dialog still open with the refused field focused and its whole text
// (cchText characters) selected; nothing written before or after: the registry as in stored, taken
// once the dialog showed.
void ExpectRefusedInField(const ProgramRun& program, HWND hDlg, HWND hField,
                          const std::string& message, size_t cchText,
                          const std::map<std::string, std::string>& stored)
{
    HWND hBox = WaitForOtherDialog(program.ProcessId(), hDlg);
    ASSERT_NE(hBox, nullptr) << "the field was not refused";
    EXPECT_EQ(ShownText(hBox), "Corvath Plus");
    EXPECT_EQ(ShownItemText(hBox, kMessageText), message);
    EXPECT_EQ(SnapshotRegistry(kAppKey), stored) << "nothing written";
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));

    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            return GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &thread) &&
                   thread.hwndFocus == hField;
        }))
        << "the focus is on the refused field";
    DWORD_PTR nSelection = 0;
    SendMessageTimeoutW(hField, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &nSelection);
    EXPECT_EQ(LOWORD(nSelection), 0u);
    EXPECT_EQ(HIWORD(nSelection), cchText) << "its whole text is selected";
    EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";

    PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(SnapshotRegistry(kAppKey), stored) << "nothing written";
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
    const auto stored = SnapshotRegistry(kAppKey);
    ASSERT_TRUE(ChooseExplicitProxyFromOutside(hDlg));
    HWND hHost = GetDlgItem(hDlg, kHost);
    TypeFromOutside(hDlg, kHost, host);
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(hHost) == host; })) << ControlTextA(hHost);
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kPort)), "80");

    ClickFromOutside(hDlg, IDOK);
    ExpectRefusedInField(program, hDlg, hHost, TextsForThisUser().colonInHost, host.size(), stored);
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
    const auto stored = SnapshotRegistry(kAppKey);
    ASSERT_TRUE(ChooseExplicitProxyFromOutside(hDlg));
    TypeFromOutside(hDlg, kHost, "proxy.example");
    HWND hPassword = GetDlgItem(hDlg, kPassword);
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hPassword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &nResult);
    ASSERT_TRUE(
        WaitUntil([&] { return ControlTextA(GetDlgItem(hDlg, kHost)) == "proxy.example"; }));

    ClickFromOutside(hDlg, IDOK);
    ExpectRefusedInField(program, hDlg, hPassword, TextsForThisUser().unstorable, password.size(),
                         stored);
}

// An explicit proxy without a host names no server: refused in the host field with a message of
// its own, nothing stored.
TEST_F(SettingsEndToEndTest, AnExplicitProxyWithoutAHostIsRefusedWithTheFieldSelected)
{
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    const auto stored = SnapshotRegistry(kAppKey);
    ASSERT_TRUE(ChooseExplicitProxyFromOutside(hDlg));
    HWND hPort = GetDlgItem(hDlg, kPort);
    TypeFromOutside(hDlg, kPort, "8080");
    ASSERT_TRUE(WaitUntil([&] { return ControlTextA(hPort) == "8080"; })) << ControlTextA(hPort);
    EXPECT_EQ(ControlTextA(GetDlgItem(hDlg, kHost)), "");

    ClickFromOutside(hDlg, IDOK);
    ExpectRefusedInField(program, hDlg, GetDlgItem(hDlg, kHost), TextsForThisUser().noHost, 0,
                         stored);
}

// A stored server whose port part is no number ("http") shows that part in the port field as
// stored; with an explicit proxy the port's own check refuses it on confirm, nothing written.
TEST_F(SettingsEndToEndTest, AStoredPortThatIsNoNumberIsShownAsStoredAndRefusedOnConfirm)
{
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteSz("Login", "ProxyServer", "proxy.example:http");
    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    const auto stored = SnapshotRegistry(kAppKey);
    HWND hPort = GetDlgItem(hDlg, kPort);
    EXPECT_EQ(ShownItemText(hDlg, kHost), "proxy.example");
    EXPECT_EQ(ShownText(hPort), "http") << "the port part as stored";

    ClickFromOutside(hDlg, IDOK);
    ExpectRefusedInField(program, hDlg, hPort, TextsForThisUser().notANumber, 4, stored);
}

// What the player stored and left alone comes back exactly: a server and a user name with a
// character that the system's code page lacks (stored by another program, or by this one under
// another code page), and the password's stored text, not scrambled anew. The player only switches
// the music off.
TEST_F(SettingsEndToEndTest, StoredTextsThePlayerLeftAloneAreStoredBackExactly)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    ASSERT_NE(unstorable, L"<none>");
    const std::wstring server = L"h" + unstorable + L":3128";
    const std::wstring user = L"Zo" + unstorable;
    const char scrambled[] = "GEStHgbTYNFDYiKNfCCAVro8gpE"; // "secret password", an old seed
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteWideSz("Login", "ProxyServer", server);
    appKey.WriteWideSz("Login", "ProxyUser", user);
    appKey.WriteSz("Login", "ProxyPasswd", scrambled);

    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    EXPECT_EQ(ShownItemText(hDlg, kHost), "h" + Utf8Of(unstorable)) << "shown as stored";
    EXPECT_EQ(ShownItemText(hDlg, kUser), Utf8Of(user)) << "shown as stored";
    ClickFromOutside(hDlg, kEnableBGM);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)); }));
    ClickFromOutside(hDlg, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);

    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(Utf8Of(appKey.ReadWideSz("Login", "ProxyServer")), Utf8Of(server));
    EXPECT_EQ(Utf8Of(appKey.ReadWideSz("Login", "ProxyUser")), Utf8Of(user));
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyPasswd"), scrambled);
}

// The application key itself readable only, its subkeys writable: the program shows what is
// stored and saves into the subkeys.
TEST_F(SettingsEndToEndTest, AReadOnlyApplicationKeyShowsWhatItHoldsAndTheSaveGoesThrough)
{
    appKey.WriteDword("Configs", "EnableBGM", 0);
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteSz("Login", "ProxyServer", "p.example:3128");
    appKey.WriteSz("Login", "ProxyUser", "bob");
    ReadOnlyKey readOnly{kAppKey};
    ASSERT_TRUE(readOnly.Refuses());

    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    EXPECT_FALSE(IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM))) << "shows what is stored";
    EXPECT_TRUE(IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxyNamed)));
    EXPECT_EQ(ShownItemText(hDlg, kHost), "p.example");
    EXPECT_EQ(ShownItemText(hDlg, kUser), "bob");
    ClickFromOutside(hDlg, kEnableSound);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableSound)); }));
    ClickFromOutside(hDlg, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    readOnly.Restore();

    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableSound", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "p.example:3128");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "bob");
}

// Keys whose permissions let the user read and write values, but neither change permissions nor
// delete keys, take a save: the program asks for no more rights than it uses.
TEST_F(SettingsEndToEndTest, KeysGrantingReadAndWriteOnlyTakeTheSave)
{
    appKey.WriteDword("Configs", "EnableBGM", 1);
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteSz("Login", "ProxyServer", "p.example:3128");
    appKey.WriteSz("Login", "ProxyUser", "bob");
    GrantedKey grantedApp{kAppKey, kReadWriteOnly};
    GrantedKey grantedConfigs{std::string(kAppKey) + "\\Configs", kReadWriteOnly};
    GrantedKey grantedLogin{std::string(kAppKey) + "\\Login", kReadWriteOnly};
    for (const GrantedKey* granted : {&grantedApp, &grantedConfigs, &grantedLogin})
    {
        ASSERT_TRUE(granted->Grants(KEY_READ | KEY_WRITE));
        ASSERT_TRUE(granted->Refuses(KEY_ALL_ACCESS));
    }

    ProgramRun program;
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = program.WaitForDialog();
    ASSERT_NE(hDlg, nullptr) << "no dialog of the program appeared";
    ClickFromOutside(hDlg, kEnableBGM);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)); }));
    ClickFromOutside(hDlg, kUseProxy);
    ASSERT_TRUE(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxy)); }));
    ClickFromOutside(hDlg, IDOK);
    HWND hBox = nullptr;
    const bool bExited = WaitUntil(
        [&]
        {
            hBox = VisibleDialogOf(program.ProcessId(), hDlg);
            return hBox != nullptr || !IsWindow(hDlg);
        });
    ASSERT_TRUE(bExited);
    ASSERT_EQ(hBox, nullptr) << "refused: " << ShownItemText(hBox, kMessageText);
    EXPECT_EQ(program.WaitForExit(), 0u);

    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u) << "Direct";
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyUser"));
}
} // namespace
