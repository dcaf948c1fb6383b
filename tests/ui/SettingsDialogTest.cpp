// The startup settings dialog built from its real template, run modally and driven with real
// window messages, against the application's real registry key. Message boxes are answered by the
// test and recorded.
#include "app/CSettingsApp.h"
#include "app/LanguageChoice.h"
#include "framework/CString.h"
#include "res/resource.h"
#include "settings/CProxySettings.h"
#include "support/DialogDriver.h"
#include "support/GrantedKey.h"
#include "support/LanguageTexts.h"
#include "support/ModalDialogRun.h"
#include "support/ReadOnlyKey.h"
#include "support/RegistrySnapshot.h"
#include "support/ScratchCurrentUser.h"
#include "support/ScratchKey.h"
#include "support/StoredPassword.h"
#include "support/WindowText.h"
#include "ui/CStartupSettingsDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
const char kProductTitle[] = "Corvath Plus";
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();

bool Checked(HWND hDlg, int nID)
{
    return IsDlgButtonChecked(hDlg, nID) == BST_CHECKED;
}

bool Enabled(HWND hDlg, int nID)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nID)) != FALSE;
}

void SetItemText(HWND hDlg, int nID, const char* pszText)
{
    SetDlgItemTextA(hDlg, nID, pszText);
}

// A click as the button's own mouse handling makes it: the check changes, then BN_CLICKED.
void Click(HWND hDlg, int nID)
{
    SendDlgItemMessageA(hDlg, nID, BM_CLICK, 0, 0);
}

// String nID of this program's resources, from the set the loader picks, as UTF-8.
std::string ResourceText(UINT nID)
{
    const WCHAR* pchWide = nullptr;
    const int cchWide =
        LoadStringW(GetModuleHandleA(nullptr), nID, reinterpret_cast<LPWSTR>(&pchWide), 0);
    if (cchWide <= 0)
        return "<string " + std::to_string(nID) + " missing>";
    return Utf8Of(pchWide, cchWide);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// What the dialog shows of the settings.
struct Shown
{
    bool bgm, sound, movie;
    bool useProxy, preconfig, named;
    std::string host, port, user, password;

    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os)
{
    *os << "{media " << s.bgm << s.sound << s.movie << ", use-proxy " << s.useProxy << ", 1007 "
        << s.preconfig << ", 1008 " << s.named << ", host '" << s.host << "', port '" << s.port
        << "', user '" << s.user << "', password '" << s.password << "'}";
}

Shown ReadShown(HWND hDlg)
{
    return {Checked(hDlg, IDC_ENABLE_BGM),      Checked(hDlg, IDC_ENABLE_SOUND),
            Checked(hDlg, IDC_ENABLE_MOVIE),    Checked(hDlg, IDC_USE_PROXY),
            Checked(hDlg, IDC_PROXY_PRECONFIG), Checked(hDlg, IDC_PROXY_NAMED),
            ItemText(hDlg, IDC_PROXY_HOST),     ItemText(hDlg, IDC_PROXY_PORT),
            ItemText(hDlg, IDC_PROXY_USER),     ItemText(hDlg, IDC_PROXY_PASSWORD)};
}

// Which of the proxy controls take input.
struct Enabling
{
    bool preconfig, named;
    bool host, port, user, password;

    bool operator==(const Enabling&) const = default;
};

void PrintTo(const Enabling& e, std::ostream* os)
{
    *os << "{1007 " << e.preconfig << ", 1008 " << e.named << ", edits " << e.host << e.port
        << e.user << e.password << "}";
}

Enabling ReadEnabling(HWND hDlg)
{
    return {Enabled(hDlg, IDC_PROXY_PRECONFIG), Enabled(hDlg, IDC_PROXY_NAMED),
            Enabled(hDlg, IDC_PROXY_HOST),      Enabled(hDlg, IDC_PROXY_PORT),
            Enabled(hDlg, IDC_PROXY_USER),      Enabled(hDlg, IDC_PROXY_PASSWORD)};
}

const Enabling kAllProxyControlsOff = {false, false, false, false, false, false};
const Enabling kChoicesOnly = {true, true, false, false, false, false};
const Enabling kAllProxyControlsOn = {true, true, true, true, true, true};

// A fresh installation: every media switch on and the system's proxy settings.
const Shown kFreshInstallation = {.bgm = true,
                                  .sound = true,
                                  .movie = true,
                                  .useProxy = true,
                                  .preconfig = true,
                                  .named = false,
                                  .host = "",
                                  .port = "80",
                                  .user = "",
                                  .password = ""};

// The values below the application's key, without the keys (reading creates the Configs and
// Login keys, never a value).
std::map<std::string, std::string> StoredValues()
{
    auto entries = SnapshotRegistry(kAppKey);
    std::erase_if(entries, [](const auto& entry) { return entry.second == "key"; });
    return entries;
}

// A proxy server with user and password, saved by the record itself (password scrambled).
void StoreNamedProxy(const char* pszHost, UINT nPort, const char* pszUser, const char* pszPassword)
{
    CProxySettings settings(theApp.GetAppRegistryKey(), FALSE, TRUE);
    settings.Set(TRUE, FALSE, pszHost, nPort, pszUser, pszPassword);
    settings.Save();
}

// The one message box a refused confirm shows: the product title as caption, the dialog as owner,
// the exclamation icon.
void ExpectOneRefusalBox(const MessageBoxAnswerer& boxes, const std::string& text, HWND hOwner)
{
    ASSERT_EQ(boxes.Seen().size(), 1u);
    const SeenMessageBox& box = boxes.Seen()[0];
    EXPECT_EQ(box.shownCaption, kProductTitle);
    EXPECT_EQ(box.shownText, text);
    EXPECT_EQ(box.owner, hOwner);
    EXPECT_EQ(box.icon, LoadIconA(nullptr, MAKEINTRESOURCEA(32515))) << "IDI_EXCLAMATION";
}

// A confirm refused for a field's text: nothing written, the dialog still open, and the field
// holding the focus with its whole text (cchText characters) selected.
void ExpectRefusedInField(HWND hDlg, int nField, size_t cchText,
                          const std::map<std::string, std::string>& before)
{
    EXPECT_EQ(SnapshotRegistry(kAppKey), before) << "nothing written";
    EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";
    HWND hField = GetDlgItem(hDlg, nField);
    EXPECT_EQ(GetFocus(), hField) << "the focus is on the field";
    DWORD dwStart = 0xDEADBEEF, dwEnd = 0xDEADBEEF;
    SendMessageW(hField, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                 reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(dwStart, 0u);
    EXPECT_EQ(dwEnd, cchText) << "its whole text is selected";
}

// The game's mutex, held by the test for as long as the object lives.
class GameMutex
{
public:
    GameMutex() : m_hMutex(CreateMutexA(nullptr, TRUE, "Velmora Mutex")) {}
    ~GameMutex() { Release(); }
    GameMutex(const GameMutex&) = delete;
    GameMutex& operator=(const GameMutex&) = delete;
    bool Held() const { return m_hMutex != nullptr; }
    void Release()
    {
        if (m_hMutex != nullptr)
            CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }

private:
    HANDLE m_hMutex;
};

// Every test starts and ends with the application's key gone; the dialog is the main window, so
// that message boxes are owned by it as in the program, which chooses the language set first.
class SettingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ChooseLanguageSet();
        theApp.ApplyIdentity();
    }
    void TearDown() override { theApp.m_pMainWnd = nullptr; }

    INT_PTR Run(CStartupSettingsDlg& dlg, std::vector<DialogStep> steps)
    {
        theApp.m_pMainWnd = &dlg;
        return RunModal(dlg, std::move(steps));
    }

    void ExpectNoBoxes()
    {
        for (const SeenMessageBox& box : boxes.Seen())
            ADD_FAILURE() << "unexpected message box '" << box.caption << "': " << box.text;
    }

    ScratchKey appKey{kAppKey};
    MessageBoxAnswerer boxes{IDOK};
};

// What opening shows of each stored state: the values, which proxy controls take input, and that
// showing writes nothing and asks nothing.
TEST_F(SettingsDialogTest, StoredSettingsShowInTheFieldsWithTheirEnabling)
{
    struct Case
    {
        const char* name;
        std::function<void(const ScratchKey&)> store;
        Shown shown;
        Enabling enabling;
    };
    const Case cases[] = {
        {"fresh installation", [](const ScratchKey&) {}, kFreshInstallation, kChoicesOnly},
        {"named proxy, in enabled fields",
         [](const ScratchKey& key)
         {
             StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");
             key.WriteDword("Configs", "EnableSound", 0);
             ASSERT_NE(key.ReadSz("Login", "ProxyPasswd"), "pa55 w0rd") << "stored scrambled";
         },
         {.bgm = true,
          .sound = false,
          .movie = true,
          .useProxy = true,
          .preconfig = false,
          .named = true,
          .host = "proxy.example",
          .port = "8080",
          .user = "alice",
          .password = "pa55 w0rd"},
         kAllProxyControlsOn},
        {"no proxy, whose stored server still shows in disabled fields",
         [](const ScratchKey& key)
         {
             StoreNamedProxy("p", 3128, "bob", "hunter2");
             key.WriteDword("Login", "UseProxy", 1);
         },
         {.bgm = true,
          .sound = true,
          .movie = true,
          .useProxy = false,
          .preconfig = true,
          .named = false,
          .host = "p",
          .port = "3128",
          .user = "bob",
          .password = "hunter2"},
         kAllProxyControlsOff},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        c.store(appKey);
        const auto stored = StoredValues();

        auto check = [&](HWND hDlg)
        {
            EXPECT_EQ(ReadShown(hDlg), c.shown);
            EXPECT_EQ(ReadEnabling(hDlg), c.enabling);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {check}), kLeftOpen);
        EXPECT_EQ(StoredValues(), stored) << "showing the dialog writes nothing";
        EXPECT_TRUE(caseBoxes.Seen().empty()) << "a message box appeared";
    }
}

TEST_F(SettingsDialogTest, MediaSwitchesReadAsOnOrOffAndAreSavedAsZeroOrOne)
{
    appKey.WriteDword("Configs", "EnableBGM", 0);
    appKey.WriteDword("Configs", "EnableSound", 2);
    appKey.WriteDword("Configs", "EnableMovie", 0xFFFFFFFF);

    auto checkAndConfirm = [](HWND hDlg)
    {
        EXPECT_FALSE(Checked(hDlg, IDC_ENABLE_BGM));
        EXPECT_TRUE(Checked(hDlg, IDC_ENABLE_SOUND));
        EXPECT_TRUE(Checked(hDlg, IDC_ENABLE_MOVIE));
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    const INT_PTR nResult = Run(dlg, {checkAndConfirm});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableSound", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableMovie", 0xDEADBEEF), 1u);
}

TEST_F(SettingsDialogTest, EnableRulesFollowEveryClickOnTheProxyControls)
{
    struct Transition
    {
        const char* name;
        int nClicked;
        bool useProxyAfter;
        Enabling enablingAfter;
    };
    // From a fresh installation: use-proxy ticked, option 1007 selected.
    const Transition transitions[] = {
        {"1006 off with 1007 selected", IDC_USE_PROXY, false, kAllProxyControlsOff},
        {"1006 on with 1007 selected", IDC_USE_PROXY, true, kChoicesOnly},
        {"1008 chosen", IDC_PROXY_NAMED, true, kAllProxyControlsOn},
        {"1006 off with 1008 selected", IDC_USE_PROXY, false, kAllProxyControlsOff},
        {"1006 on with 1008 selected", IDC_USE_PROXY, true, kAllProxyControlsOn},
        {"1007 chosen", IDC_PROXY_PRECONFIG, true, kChoicesOnly},
        {"1008 chosen again", IDC_PROXY_NAMED, true, kAllProxyControlsOn},
    };

    auto clickThrough = [&](HWND hDlg)
    {
        for (const Transition& t : transitions)
        {
            SCOPED_TRACE(t.name);
            Click(hDlg, t.nClicked);
            EXPECT_EQ(Checked(hDlg, IDC_USE_PROXY), t.useProxyAfter);
            EXPECT_EQ(ReadEnabling(hDlg), t.enablingAfter);
        }
    };
    CStartupSettingsDlg dlg;
    Run(dlg, {clickThrough});
    ExpectNoBoxes();
}

// The proxy-mode pair is one radio group: by the platform's convention for keyboard users the
// checked button holds the group's tab stop, and only it, whichever way it came to be checked.
// Windows moves Tab only to controls with WS_TABSTOP (Wine also stops on a checked radio button
// without one, so the styles are checked here rather than where a Tab lands).
std::vector<int> TabStopsOfProxyPair(HWND hDlg)
{
    std::vector<int> ids;
    for (int nID : {IDC_PROXY_PRECONFIG, IDC_PROXY_NAMED})
    {
        if (GetWindowLongPtrA(GetDlgItem(hDlg, nID), GWL_STYLE) & WS_TABSTOP)
            ids.push_back(nID);
    }
    return ids;
}

// The controls that Tab visits, in order, as the platform documents it: every visible, enabled
// child with WS_TABSTOP, in the dialog's z-order.
std::vector<int> TabOrder(HWND hDlg)
{
    std::vector<int> ids;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if ((GetWindowLongPtrA(hChild, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(hChild) &&
            IsWindowEnabled(hChild))
            ids.push_back(GetDlgCtrlID(hChild));
    }
    return ids;
}

TEST_F(SettingsDialogTest, TheCheckedProxyModeHoldsThePairsTabStopAfterLoadClickArrowAndInitialize)
{
    const std::vector<int> kPreconfig = {IDC_PROXY_PRECONFIG};
    const std::vector<int> kNamed = {IDC_PROXY_NAMED};
    StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");

    // A key as the keyboard brings it to the focused control: through the modal loop's dialog
    // manager, which moves within the group and checks the button it lands on.
    auto pressKey = [](int nID, UINT vk)
    {
        return [nID, vk](HWND hDlg)
        {
            SetFocus(GetDlgItem(hDlg, nID));
            PostMessageA(GetDlgItem(hDlg, nID), WM_KEYDOWN, vk, 1);
            PostMessageA(GetDlgItem(hDlg, nID), WM_KEYUP, vk, 0xC0000001);
        };
    };
    CStartupSettingsDlg dlg;
    Run(dlg, {[&](HWND hDlg)
              {
                  SCOPED_TRACE("loaded: a named proxy");
                  EXPECT_EQ(TabStopsOfProxyPair(hDlg), kNamed);
                  const std::vector<int> order = {IDC_ENABLE_BGM,
                                                  IDC_ENABLE_SOUND,
                                                  IDC_ENABLE_MOVIE,
                                                  IDC_USE_PROXY,
                                                  IDC_PROXY_NAMED,
                                                  IDC_PROXY_HOST,
                                                  IDC_PROXY_PORT,
                                                  IDC_PROXY_USER,
                                                  IDC_PROXY_PASSWORD,
                                                  IDC_INITIALIZE,
                                                  IDOK,
                                                  IDCANCEL};
                  EXPECT_EQ(TabOrder(hDlg), order);
                  Click(hDlg, IDC_PROXY_PRECONFIG);
                  SCOPED_TRACE("clicked 1007");
                  EXPECT_EQ(TabStopsOfProxyPair(hDlg), kPreconfig);
                  EXPECT_EQ(ReadEnabling(hDlg), kChoicesOnly);
              },
              pressKey(IDC_PROXY_PRECONFIG, VK_DOWN),
              [&](HWND hDlg)
              {
                  SCOPED_TRACE("Down from 1007");
                  EXPECT_TRUE(Checked(hDlg, IDC_PROXY_NAMED));
                  EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_PROXY_NAMED));
                  EXPECT_EQ(TabStopsOfProxyPair(hDlg), kNamed);
                  EXPECT_EQ(ReadEnabling(hDlg), kAllProxyControlsOn) << "as a click enables them";
              },
              pressKey(IDC_PROXY_NAMED, VK_UP),
              [&](HWND hDlg)
              {
                  SCOPED_TRACE("Up from 1008");
                  EXPECT_TRUE(Checked(hDlg, IDC_PROXY_PRECONFIG));
                  EXPECT_EQ(TabStopsOfProxyPair(hDlg), kPreconfig);
                  EXPECT_EQ(ReadEnabling(hDlg), kChoicesOnly) << "as a click disables the fields";
                  Click(hDlg, IDC_PROXY_NAMED);
                  Click(hDlg, IDC_INITIALIZE);
                  SCOPED_TRACE("Initialize");
                  EXPECT_TRUE(Checked(hDlg, IDC_PROXY_PRECONFIG));
                  EXPECT_EQ(TabStopsOfProxyPair(hDlg), kPreconfig);
                  const std::vector<int> order = {IDC_ENABLE_BGM,   IDC_ENABLE_SOUND,
                                                  IDC_ENABLE_MOVIE, IDC_USE_PROXY,
                                                  IDC_INITIALIZE,   IDOK,
                                                  IDCANCEL};
                  EXPECT_EQ(TabOrder(hDlg), order) << "the disabled pair and fields are passed";
              }});
    ExpectNoBoxes();
}

TEST_F(SettingsDialogTest, ExplicitProxyIsSavedScrambledAndShownAgainNextTime)
{
    auto enterAndConfirm = [](HWND hDlg)
    {
        Click(hDlg, IDC_ENABLE_MOVIE);
        Click(hDlg, IDC_PROXY_NAMED);
        SetItemText(hDlg, IDC_PROXY_HOST, "proxy.example");
        SetItemText(hDlg, IDC_PROXY_PORT, "3128");
        SetItemText(hDlg, IDC_PROXY_USER, "alice");
        SetItemText(hDlg, IDC_PROXY_PASSWORD, "pa55 w0rd");
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg first;
    const INT_PTR nResult = Run(first, {enterAndConfirm});
    ASSERT_EQ(nResult, IDOK);
    ExpectNoBoxes();
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableSound", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableMovie", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "proxy.example:3128");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "alice");
    EXPECT_NE(appKey.ReadSz("Login", "ProxyPasswd"), "pa55 w0rd");
    EXPECT_EQ(StoredPassword(appKey), "pa55 w0rd");

    auto checkShownAgain = [](HWND hDlg)
    {
        const Shown expected = {.bgm = true,
                                .sound = true,
                                .movie = false,
                                .useProxy = true,
                                .preconfig = false,
                                .named = true,
                                .host = "proxy.example",
                                .port = "3128",
                                .user = "alice",
                                .password = "pa55 w0rd"};
        EXPECT_EQ(ReadShown(hDlg), expected);
    };
    CStartupSettingsDlg second;
    Run(second, {checkShownAgain});
    EXPECT_EQ(theApp.m_pMainWnd, nullptr) << "the main window pointer goes with the window";
}

TEST_F(SettingsDialogTest, PortsZeroAndMaximumAreAccepted)
{
    for (const char* pszPort : {"0", "65535"})
    {
        SCOPED_TRACE(pszPort);
        ScratchKey freshKey{kAppKey};
        auto enterAndConfirm = [&](HWND hDlg)
        {
            Click(hDlg, IDC_PROXY_NAMED);
            SetItemText(hDlg, IDC_PROXY_HOST, "h");
            SetItemText(hDlg, IDC_PROXY_PORT, pszPort);
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        const INT_PTR nResult = Run(dlg, {enterAndConfirm});
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), std::string("h:") + pszPort);
    }
    ExpectNoBoxes();
}

TEST_F(SettingsDialogTest, RefusedPortsPromptAndLeaveTheDialogOpenWithThePortSelected)
{
    const std::string range =
        ReplaceAll(ReplaceAll(ResourceText(IDP_PARSE_INT_RANGE), "%1", "0"), "%2", "65535");
    const std::string notANumber = TextsForThisUser().notANumber;
    ASSERT_EQ(ResourceText(IDP_PARSE_UINT), notANumber);
    ASSERT_NE(range.find("65535"), std::string::npos) << range;

    struct Case
    {
        const char* name;
        bool bNamedProxy; // otherwise the port field is disabled (option 1007)
        const char* pszPort;
        std::string prompt;
    };
    const Case cases[] = {
        {"one above the maximum", true, "65536", range},
        {"beyond 32 bits, which must not wrap into range", true, "4294967376", range},
        {"empty", true, "", notANumber},
        {"no digits", true, "port", notANumber},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        HWND hShownDlg = nullptr;
        auto enterAndConfirm = [&](HWND hDlg)
        {
            hShownDlg = hDlg;
            Click(hDlg, c.bNamedProxy ? IDC_PROXY_NAMED : IDC_PROXY_PRECONFIG);
            SetItemText(hDlg, IDC_PROXY_HOST, "h");
            SetItemText(hDlg, IDC_PROXY_PORT, c.pszPort);
            ASSERT_EQ(Enabled(hDlg, IDC_PROXY_PORT), c.bNamedProxy);
            const auto before = SnapshotRegistry(kAppKey);

            Click(hDlg, IDOK);

            EXPECT_EQ(SnapshotRegistry(kAppKey), before) << "nothing written";
            EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";
            HWND hPort = GetDlgItem(hDlg, IDC_PROXY_PORT);
            // A disabled window cannot take the focus: it stays where the click left it.
            if (c.bNamedProxy)
            {
                EXPECT_EQ(GetFocus(), hPort) << "the focus is on the port field";
            }
            else
            {
                EXPECT_TRUE(IsChild(hDlg, GetFocus())) << "the focus stays in the dialog";
            }
            DWORD dwStart = 0xDEADBEEF, dwEnd = 0xDEADBEEF;
            SendMessageA(hPort, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                         reinterpret_cast<LPARAM>(&dwEnd));
            EXPECT_EQ(dwStart, 0u);
            EXPECT_EQ(dwEnd, strlen(c.pszPort)) << "the whole port text is selected";
        };
        CStartupSettingsDlg dlg;
        const INT_PTR nResult = Run(dlg, {enterAndConfirm});
        EXPECT_EQ(nResult, kLeftOpen);
        ExpectOneRefusalBox(caseBoxes, c.prompt, hShownDlg);
    }
}

TEST_F(SettingsDialogTest, ConfirmIsRefusedWhileTheGameRunsAndSavesAfterItEnds)
{
    GameMutex game;
    ASSERT_TRUE(game.Held());

    HWND hShownDlg = nullptr;
    auto confirmWhileTheGameRuns = [&](HWND hDlg)
    {
        hShownDlg = hDlg;
        Click(hDlg, IDC_ENABLE_BGM);
        const auto before = SnapshotRegistry(kAppKey);
        Click(hDlg, IDOK);
        EXPECT_EQ(SnapshotRegistry(kAppKey), before) << "nothing written";
        EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";
        EXPECT_FALSE(Checked(hDlg, IDC_ENABLE_BGM)) << "with the user's values";
    };
    auto confirmAfterTheGameEnded = [&](HWND hDlg)
    {
        game.Release();
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    const INT_PTR nResult = Run(dlg, {confirmWhileTheGameRuns, confirmAfterTheGameEnded});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 0u);

    ExpectOneRefusalBox(boxes, TextsForThisUser().gameRunning, hShownDlg);
}

TEST_F(SettingsDialogTest, InitializeShowsTheDefaultsAndCancelKeepsTheStoredSettings)
{
    StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");
    appKey.WriteDword("Configs", "EnableMovie", 0);
    const auto stored = SnapshotRegistry(kAppKey);

    auto initializeAndCancel = [](HWND hDlg)
    {
        Click(hDlg, IDC_INITIALIZE);
        Shown defaults = kFreshInstallation;
        defaults.useProxy = false;
        EXPECT_EQ(ReadShown(hDlg), defaults);
        EXPECT_EQ(ReadEnabling(hDlg), kAllProxyControlsOff);
        Click(hDlg, IDCANCEL);
    };
    CStartupSettingsDlg dlg;
    const INT_PTR nResult = Run(dlg, {initializeAndCancel});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(SnapshotRegistry(kAppKey), stored);
    ExpectNoBoxes();
}

TEST_F(SettingsDialogTest, InitializeThenConfirmStoresEveryMediaOnAndNoProxy)
{
    StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");
    appKey.WriteDword("Configs", "EnableBGM", 0);
    appKey.WriteDword("Configs", "EnableMovie", 0);

    auto initializeAndConfirm = [](HWND hDlg)
    {
        Click(hDlg, IDC_INITIALIZE);
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    const INT_PTR nResult = Run(dlg, {initializeAndConfirm});
    EXPECT_EQ(nResult, IDOK);
    for (const char* pszSwitch : {"EnableBGM", "EnableSound", "EnableMovie"})
    {
        SCOPED_TRACE(pszSwitch);
        DWORD dwType = 0;
        std::string data;
        ASSERT_TRUE(appKey.Read("Configs", pszSwitch, &dwType, &data));
        EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(data, std::string("\x01\0\0\0", 4));
    }
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u) << "Direct";
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyUser"));
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyPasswd"));
    ExpectNoBoxes();
}

TEST_F(SettingsDialogTest, SystemProxyChoiceWithTextInTheFieldsStoresNoServerOrCredentials)
{
    auto enterThenChooseTheSystemSettings = [](HWND hDlg)
    {
        Click(hDlg, IDC_PROXY_NAMED);
        SetItemText(hDlg, IDC_PROXY_HOST, "proxy.example");
        SetItemText(hDlg, IDC_PROXY_PORT, "8080");
        SetItemText(hDlg, IDC_PROXY_USER, "alice");
        SetItemText(hDlg, IDC_PROXY_PASSWORD, "pa55 w0rd");
        Click(hDlg, IDC_PROXY_PRECONFIG);
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    const INT_PTR nResult = Run(dlg, {enterThenChooseTheSystemSettings});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 0u) << "Preconfig";
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyUser"));
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyPasswd"));
    ExpectNoBoxes();
}

// A stored state from which the dialog opens.
struct StoredState
{
    const char* name;
    std::function<void(const ScratchKey&)> store;
};

// Whatever was stored, a confirm with the use-proxy box cleared goes through: no prompt, the
// dialog ends, and "no proxy" is stored with nothing of the old proxy left behind.
void ExpectNoProxySaveGoesThrough(const StoredState& state)
{
    SCOPED_TRACE(state.name);
    ScratchKey key{kAppKey};
    MessageBoxAnswerer boxes{IDOK};
    state.store(key);

    auto clearUseProxyAndConfirm = [](HWND hDlg)
    {
        if (Checked(hDlg, IDC_USE_PROXY))
            Click(hDlg, IDC_USE_PROXY);
        ASSERT_FALSE(Checked(hDlg, IDC_USE_PROXY));
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    theApp.m_pMainWnd = &dlg;
    const INT_PTR nResult = RunModal(dlg, {clearUseProxyAndConfirm});
    theApp.m_pMainWnd = nullptr;

    EXPECT_EQ(nResult, IDOK);
    for (const SeenMessageBox& box : boxes.Seen())
        ADD_FAILURE() << "message box '" << box.shownCaption << "': " << box.shownText;
    DWORD dwType = 0;
    std::string data;
    ASSERT_TRUE(key.Read("Login", "UseProxy", &dwType, &data));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x01\0\0\0", 4)) << "Direct";
    ASSERT_TRUE(key.Read("Login", "ProxyServer", &dwType, &data));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(key.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
    EXPECT_FALSE(key.HasValue("Login", "ProxyPasswd"));
}

TEST_F(SettingsDialogTest, ANoProxySaveGoesThroughFromEveryStoredState)
{
    const std::string longHost(65536, 'h');
    const StoredState states[] = {
        {"nothing stored", [](const ScratchKey&) {}},
        {"explicit proxy with user and password",
         [](const ScratchKey&) { StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd"); }},
        {"explicit proxy without user or password",
         [](const ScratchKey&) { StoreNamedProxy("proxy.example", 3128, "", ""); }},
        {"no proxy, with the old server, user and password still stored",
         [](const ScratchKey& key)
         {
             StoreNamedProxy("p", 3128, "bob", "hunter2");
             key.WriteDword("Login", "UseProxy", 1);
         }},
        {"the system's settings, with a user and password still stored",
         [](const ScratchKey& key)
         {
             StoreNamedProxy("p", 3128, "bob", "hunter2");
             key.WriteDword("Login", "UseProxy", 0);
             key.WriteSz("Login", "ProxyServer", "");
         }},
        {"a server without a port",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "p"); }},
        {"a server with an empty port",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "p:"); }},
        {"a server without a host",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", ":8080"); }},
        {"a port of letters",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "p:http"); }},
        {"a port followed by letters",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "p:8080x"); }},
        {"a second colon",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "a:b:c"); }},
        {"the highest port",
         [](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", "p:65535"); }},
        {"a port above 65535 beside no proxy",
         [](const ScratchKey& key)
         {
             key.WriteDword("Login", "UseProxy", 1);
             key.WriteSz("Login", "ProxyServer", "p:70000");
         }},
        {"a negative port beside no proxy",
         [](const ScratchKey& key)
         {
             key.WriteDword("Login", "UseProxy", 1);
             key.WriteSz("Login", "ProxyServer", "p:-1");
         }},
        {"a host of 64 KiB",
         [&](const ScratchKey& key) { key.WriteSz("Login", "ProxyServer", longHost + ":81"); }},
        {"UseProxy 2, which is never stored",
         [](const ScratchKey& key)
         {
             key.WriteDword("Login", "UseProxy", 2);
             key.WriteSz("Login", "ProxyServer", "p:8080");
         }},
        {"UseProxy as text",
         [](const ScratchKey& key)
         {
             key.Write("Login", "UseProxy", REG_SZ, std::string("1\0", 2));
             key.WriteSz("Login", "ProxyServer", "p:8080");
         }},
        {"ProxyServer, ProxyUser and ProxyPasswd of other types",
         [](const ScratchKey& key)
         {
             key.WriteDword("Login", "UseProxy", 3);
             key.Write("Login", "ProxyServer", REG_BINARY, "p:8080");
             key.Write("Login", "ProxyUser", REG_EXPAND_SZ, std::string("bob\0", 4));
             key.WriteDword("Login", "ProxyPasswd", 7);
         }},
        {"a password that does not unscramble",
         [](const ScratchKey& key)
         {
             key.WriteSz("Login", "ProxyServer", "p:1");
             key.WriteSz("Login", "ProxyPasswd", "**##!!$$");
         }},
        {"media switches of other types",
         [](const ScratchKey& key)
         {
             key.Write("Configs", "EnableBGM", REG_SZ, std::string(65536, 'x'));
             key.Write("Configs", "EnableSound", REG_QWORD, std::string(8, '\0'));
             key.Write("Configs", "EnableMovie", REG_BINARY, "");
         }},
    };
    for (const StoredState& state : states)
        ExpectNoProxySaveGoesThrough(state);
}

// An edit's text as a reader outside the program gets it: WM_GETTEXT sent wide, as UTF-8.
std::string WideItemText(HWND hDlg, int nID)
{
    HWND hItem = GetDlgItem(hDlg, nID);
    const auto cch = static_cast<int>(SendMessageW(hItem, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(cch) + 1, L'\0');
    const auto cchCopied = static_cast<int>(
        SendMessageW(hItem, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    return Utf8Of(text.c_str(), cchCopied);
}

// What the user types for an explicit proxy comes back the same when the dialog opens again.
TEST_F(SettingsDialogTest, AnExplicitProxyComesBackAsTypedWhenTheDialogOpensAgain)
{
    // Non-ASCII text that the stored values' code page holds.
    const std::wstring storable = AnsiCodePageSample(true);
    ASSERT_NE(storable, L"<none>");
    struct Case
    {
        const char* name;
        std::wstring host, port, user, password;
    };
    const Case cases[] = {
        {"a name", L"proxy", L"8080", L"alice", L"pa55 w0rd"},
        {"a dotted name, the default port, no credentials", L"proxy.example.com", L"80", L"", L""},
        {"an address, a colon in the password", L"10.0.0.1", L"3128", L"user@example",
         L"p@ss:word"},
        {"blanks around each text", L"  spaced host  ", L"1", L" u ", L" p "},
        {"the lowest port", L"h", L"0", L"", L"x"},
        {"the highest port", L"h", L"65535", L"", L""},
        {"a host of 255 characters", std::wstring(255, L'a'), L"443", L"", L""},
        {"text of the stored values' code page", L"h" + storable, L"8080", L"u" + storable,
         L"p" + storable},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        auto typeAndConfirm = [&](HWND hDlg)
        {
            Click(hDlg, IDC_PROXY_NAMED);
            SetDlgItemTextW(hDlg, IDC_PROXY_HOST, c.host.c_str());
            SetDlgItemTextW(hDlg, IDC_PROXY_PORT, c.port.c_str());
            SetDlgItemTextW(hDlg, IDC_PROXY_USER, c.user.c_str());
            SetDlgItemTextW(hDlg, IDC_PROXY_PASSWORD, c.password.c_str());
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg first;
        ASSERT_EQ(Run(first, {typeAndConfirm}), IDOK);

        auto Utf8 = [](const std::wstring& text)
        { return Utf8Of(text.c_str(), static_cast<int>(text.size())); };
        auto checkShownAgain = [&](HWND hDlg)
        {
            EXPECT_TRUE(Checked(hDlg, IDC_USE_PROXY));
            EXPECT_TRUE(Checked(hDlg, IDC_PROXY_NAMED));
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_HOST), Utf8(c.host));
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_PORT), Utf8(c.port));
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_USER), Utf8(c.user));
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_PASSWORD), Utf8(c.password));
        };
        CStartupSettingsDlg second;
        EXPECT_EQ(Run(second, {checkShownAgain}), kLeftOpen);
        for (const SeenMessageBox& box : caseBoxes.Seen())
            ADD_FAILURE() << "message box '" << box.shownCaption << "': " << box.shownText;
    }
}

TEST_F(SettingsDialogTest, CloseBoxAndEscapeCancelWithoutWriting)
{
    struct Case
    {
        const char* name;
        void (*close)(HWND hDlg);
    };
    const Case cases[] = {
        {"close box", [](HWND hDlg) { PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape in the focused control",
         [](HWND hDlg)
         {
             HWND hFocus = GetFocus();
             EXPECT_TRUE(hFocus != nullptr && IsChild(hDlg, hFocus));
             PostMessageA(hFocus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
             PostMessageA(hFocus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");
        CStartupSettingsDlg dlg; // reading the media switches leaves an empty Configs key
        const auto stored = SnapshotRegistry(kAppKey);

        auto editAndClose = [&](HWND hDlg)
        {
            Click(hDlg, IDC_ENABLE_BGM);
            Click(hDlg, IDC_USE_PROXY);
            SetItemText(hDlg, IDC_PROXY_HOST, "other.example");
            c.close(hDlg);
        };
        const INT_PTR nResult = Run(dlg, {editAndClose});
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_EQ(SnapshotRegistry(kAppKey), stored);
    }
    ExpectNoBoxes();
}

// Read as the user reads it: right for a Korean, Japanese or Chinese user, and in Korean for every
// other user, also where the system's code page holds no Korean (ctest runs this program again
// under such locales).
TEST_F(SettingsDialogTest, CaptionReadsAsTheTitleOfTheUsersLanguageSet)
{
    auto check = [](HWND hDlg) { EXPECT_EQ(ShownText(hDlg), TextsForThisUser().caption); };
    CStartupSettingsDlg dlg;
    Run(dlg, {check});
}

// The registry refusing the save for real: the Login key, or the Configs key, readable only.
// Reading asks for read access only, so the stored values show (the named proxy: 1006 ticked);
// the click on 1006 leads to "no proxy".
TEST_F(SettingsDialogTest, ARefusedSaveIsReportedWritesNothingAndCanBeConfirmedAgain)
{
    for (const char* pszRefusingKey : {"Login", "Configs"})
    {
        SCOPED_TRACE(pszRefusingKey);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        StoreNamedProxy("proxy.example", 8080, "alice", "pa55 w0rd");
        appKey.WriteDword("Configs", "EnableBGM", 1);
        ReadOnlyKey readOnly{std::string(kAppKey) + "\\" + pszRefusingKey};
        ASSERT_TRUE(readOnly.Refuses());
        const auto stored = SnapshotRegistry(kAppKey);

        HWND hShownDlg = nullptr;
        auto confirmWhileRefused = [&](HWND hDlg)
        {
            hShownDlg = hDlg;
            Click(hDlg, IDC_ENABLE_BGM);
            Click(hDlg, IDC_USE_PROXY);
            ASSERT_FALSE(Checked(hDlg, IDC_USE_PROXY));
            Click(hDlg, IDOK);
            EXPECT_EQ(SnapshotRegistry(kAppKey), stored) << "nothing written, not half of it";
            EXPECT_TRUE(IsWindowVisible(hDlg)) << "the dialog stays open";
            EXPECT_FALSE(Checked(hDlg, IDC_ENABLE_BGM)) << "with the user's values";
        };
        auto confirmOnceWritable = [&](HWND hDlg)
        {
            readOnly.Restore();
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        const INT_PTR nResult = Run(dlg, {confirmWhileRefused, confirmOnceWritable});
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
        EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u) << "Direct";
        EXPECT_FALSE(appKey.HasValue("Login", "ProxyUser"));
        EXPECT_FALSE(appKey.HasValue("Login", "ProxyPasswd"));

        ExpectOneRefusalBox(caseBoxes, TextsForThisUser().saveFailed, hShownDlg);
    }
}

TEST_F(SettingsDialogTest, ATypedCharacterTheStoredValuesCannotHoldIsRefusedInItsField)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    const std::wstring storable = AnsiCodePageSample(true);
    ASSERT_NE(unstorable, L"<none>");
    ASSERT_NE(storable, L"<none>");
    for (int nField : {IDC_PROXY_HOST, IDC_PROXY_USER, IDC_PROXY_PASSWORD})
    {
        SCOPED_TRACE("field " + std::to_string(nField));
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        HWND hShownDlg = nullptr;
        auto typeAndConfirm = [&](HWND hDlg)
        {
            hShownDlg = hDlg;
            Click(hDlg, IDC_PROXY_NAMED);
            SetDlgItemTextW(hDlg, IDC_PROXY_HOST, L"proxy.example");
            SetDlgItemTextW(hDlg, IDC_PROXY_USER, L"alice");
            SetDlgItemTextW(hDlg, IDC_PROXY_PASSWORD, L"pa55");
            SetDlgItemTextW(hDlg, nField, (L"a" + unstorable).c_str());
            const auto before = SnapshotRegistry(kAppKey);
            Click(hDlg, IDOK);
            ExpectRefusedInField(hDlg, nField, 1 + unstorable.size(), before);
        };
        auto correctAndConfirm = [&](HWND hDlg)
        {
            SetDlgItemTextW(hDlg, nField, (L"a" + storable).c_str());
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        const INT_PTR nResult = Run(dlg, {typeAndConfirm, correctAndConfirm});
        EXPECT_EQ(nResult, IDOK);

        ExpectOneRefusalBox(caseBoxes, TextsForThisUser().unstorable, hShownDlg);

        // What was typed is stored exactly, in the stored values' code page.
        const std::string typed = "a" + InAnsiCodePage(storable);
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"),
                  (nField == IDC_PROXY_HOST ? typed : "proxy.example") + ":80");
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), nField == IDC_PROXY_USER ? typed : "alice");
        EXPECT_EQ(StoredPassword(appKey), nField == IDC_PROXY_PASSWORD ? typed : "pa55");
    }
}

// Without an explicit proxy none of the three texts is stored: nothing to refuse.
TEST_F(SettingsDialogTest, TextsThatAreNotStoredAreNotChecked)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    auto typeThenChooseTheSystemSettings = [&](HWND hDlg)
    {
        Click(hDlg, IDC_PROXY_NAMED);
        SetDlgItemTextW(hDlg, IDC_PROXY_HOST, unstorable.c_str());
        SetDlgItemTextW(hDlg, IDC_PROXY_PASSWORD, unstorable.c_str());
        Click(hDlg, IDC_PROXY_PRECONFIG);
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    EXPECT_EQ(Run(dlg, {typeThenChooseTheSystemSettings}), IDOK);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 0u) << "Preconfig";
    EXPECT_FALSE(appKey.HasValue("Login", "ProxyPasswd"));
    ExpectNoBoxes();
}

// A disabled port field is neither read back nor checked: with the system's settings or with no
// proxy no port is stored, so whatever the field holds cannot block the save.
TEST_F(SettingsDialogTest, ADisabledPortFieldIsNotCheckedAndBlocksNoSave)
{
    struct Case
    {
        const char* name;
        int nChoice; // the click that disables the port field after the text is in it
        const char* pszPort;
        DWORD dwStoredMode;
    };
    const Case cases[] = {
        {"empty, with the system's settings", IDC_PROXY_PRECONFIG, "", 0},
        {"above the maximum, with the system's settings", IDC_PROXY_PRECONFIG, "70000", 0},
        {"empty, with no proxy", IDC_USE_PROXY, "", 1},
        {"beyond 32 bits, with no proxy", IDC_USE_PROXY, "4294967376", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        auto enterDisableAndConfirm = [&](HWND hDlg)
        {
            Click(hDlg, IDC_PROXY_NAMED);
            SetItemText(hDlg, IDC_PROXY_HOST, "h");
            SetItemText(hDlg, IDC_PROXY_PORT, c.pszPort);
            Click(hDlg, c.nChoice);
            ASSERT_FALSE(Enabled(hDlg, IDC_PROXY_PORT));
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {enterDisableAndConfirm}), IDOK);
        for (const SeenMessageBox& box : caseBoxes.Seen())
            ADD_FAILURE() << "unexpected message box: " << box.shownText;
        EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), c.dwStoredMode);
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "") << "no server stored";
    }
}

// The stored server is "host:port": a host holding ':' (a port typed with it) would read back as
// another host and port, and an empty host or one of blanks names no server. Either is refused on
// confirm in its field, each with its own message, with nothing written; a host without ':' is
// stored as typed.
TEST_F(SettingsDialogTest, AHostHoldingAColonOrNamingNoServerIsRefusedInItsField)
{
    // Double-byte text where the stored code page has it (Hangul under 949): ':' is found as a
    // character of its own after it.
    const std::wstring storable = AnsiCodePageSample(true);
    ASSERT_NE(storable, L"<none>");
    const std::string colonInHost = TextsForThisUser().colonInHost;
    const std::string noHost = TextsForThisUser().noHost;
    struct Case
    {
        const char* name;
        std::wstring host;
        std::string message;
    };
    const Case refused[] = {
        {"a port typed with the host", L"proxy.example:3128", colonInHost},
        {"only a port", L":8080", colonInHost},
        {"a colon at the end", L"proxy.example:", colonInHost},
        {"an address with colons", L"fe80::1", colonInHost},
        {"a port after non-ASCII text", storable + L":3128", colonInHost},
        {"no host", L"", noHost},
        {"blanks", L"   ", noHost},
        {"a blank and a tab", L" \t", noHost},
    };
    for (const Case& c : refused)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        HWND hShownDlg = nullptr;
        auto typeAndConfirm = [&](HWND hDlg)
        {
            hShownDlg = hDlg;
            Click(hDlg, IDC_PROXY_NAMED);
            SetDlgItemTextW(hDlg, IDC_PROXY_HOST, c.host.c_str());
            SetDlgItemTextW(hDlg, IDC_PROXY_PORT, L"8080");
            const auto before = SnapshotRegistry(kAppKey);
            Click(hDlg, IDOK);
            ExpectRefusedInField(hDlg, IDC_PROXY_HOST, c.host.size(), before);
        };
        auto correctAndConfirm = [&](HWND hDlg)
        {
            SetDlgItemTextW(hDlg, IDC_PROXY_HOST, L"proxy.example");
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {typeAndConfirm, correctAndConfirm}), IDOK);

        ExpectOneRefusalBox(caseBoxes, c.message, hShownDlg);
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "proxy.example:8080");
    }

    // Hosts that read back as typed, and a host that is not stored at all.
    struct Accepted
    {
        const char* name;
        std::wstring host;
        int nChoice;
        std::string stored;
    };
    const Accepted accepted[] = {
        {"a name", L"proxy.example", IDC_PROXY_NAMED, "proxy.example:80"},
        {"blanks around a name", L" proxy ", IDC_PROXY_NAMED, " proxy :80"},
        {"non-ASCII text of the stored code page", storable, IDC_PROXY_NAMED,
         InAnsiCodePage(storable) + ":80"},
        {"a colon with the system's settings, which store no host", L"p:1", IDC_PROXY_PRECONFIG,
         ""},
    };
    for (const Accepted& c : accepted)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        auto typeAndConfirm = [&](HWND hDlg)
        {
            Click(hDlg, IDC_PROXY_NAMED);
            SetDlgItemTextW(hDlg, IDC_PROXY_HOST, c.host.c_str());
            SetDlgItemTextW(hDlg, IDC_PROXY_PORT, L"80");
            Click(hDlg, c.nChoice);
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {typeAndConfirm}), IDOK);
        for (const SeenMessageBox& box : caseBoxes.Seen())
            ADD_FAILURE() << "unexpected message box: " << box.shownText;
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), c.stored);
    }
}

// Keys the user may read but not write (made so for real, with a read-only DACL) still show what
// they hold: reading asks for read access only. The save is then refused and reported.
TEST_F(SettingsDialogTest, ReadOnlyKeysShowTheirStoredValuesAndTheSaveReportsTheRefusal)
{
    for (const char* pszReadOnlyKey : {"Login", "Configs"})
    {
        SCOPED_TRACE(pszReadOnlyKey);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        StoreNamedProxy("proxy.example", 3128, "alice", "pa55 w0rd");
        appKey.WriteDword("Configs", "EnableBGM", 0);
        appKey.WriteDword("Configs", "EnableMovie", 0);
        ReadOnlyKey readOnly{std::string(kAppKey) + "\\" + pszReadOnlyKey};
        ASSERT_TRUE(readOnly.Refuses());
        const auto stored = SnapshotRegistry(kAppKey);

        Shown shown;
        auto readAndConfirm = [&](HWND hDlg)
        {
            shown = ReadShown(hDlg);
            Click(hDlg, IDOK);
            EXPECT_EQ(SnapshotRegistry(kAppKey), stored) << "nothing written";
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {readAndConfirm}), kLeftOpen);
        EXPECT_EQ(shown, (Shown{.bgm = false,
                                .sound = true,
                                .movie = false,
                                .useProxy = true,
                                .preconfig = false,
                                .named = true,
                                .host = "proxy.example",
                                .port = "3128",
                                .user = "alice",
                                .password = "pa55 w0rd"}));
        ASSERT_EQ(caseBoxes.Seen().size(), 1u);
        EXPECT_EQ(caseBoxes.Seen()[0].shownText, TextsForThisUser().saveFailed);
    }
}

// "Software\\Orvane\\Tessaly Kr" itself readable only, its subkeys writable: the dialog shows what
// is stored (reading opens every existing key for reading only), and a save goes through, since
// it writes only into the subkeys.
TEST_F(SettingsDialogTest, AReadOnlyApplicationKeyShowsWhatItHoldsAndTheSaveGoesThrough)
{
    StoreNamedProxy("proxy.example", 3128, "alice", "pa55 w0rd");
    appKey.WriteDword("Configs", "EnableBGM", 0);
    appKey.WriteDword("Configs", "EnableMovie", 0);
    ReadOnlyKey readOnly{kAppKey};
    ASSERT_TRUE(readOnly.Refuses());

    Shown shown;
    auto readChangeAndConfirm = [&](HWND hDlg)
    {
        shown = ReadShown(hDlg);
        Click(hDlg, IDC_ENABLE_BGM);
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    EXPECT_EQ(Run(dlg, {readChangeAndConfirm}), IDOK);
    EXPECT_EQ(shown, (Shown{.bgm = false,
                            .sound = true,
                            .movie = false,
                            .useProxy = true,
                            .preconfig = false,
                            .named = true,
                            .host = "proxy.example",
                            .port = "3128",
                            .user = "alice",
                            .password = "pa55 w0rd"}));
    ExpectNoBoxes();
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(appKey.ReadDword("Configs", "EnableMovie", 0xDEADBEEF), 0u);
    EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "proxy.example:3128");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "alice");
    EXPECT_EQ(StoredPassword(appKey), "pa55 w0rd");
}

// Keys whose permissions let the user read and write values, but neither change permissions nor
// delete keys, take a save: the program asks for the rights each step uses and no more.
TEST_F(SettingsDialogTest, KeysGrantingReadAndWriteOnlyTakeTheSave)
{
    for (const char* pszKey : {"", "\\Login", "\\Configs"})
    {
        SCOPED_TRACE(std::string("granted: ") + kAppKey + pszKey);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        StoreNamedProxy("proxy.example", 3128, "alice", "pa55 w0rd");
        appKey.WriteDword("Configs", "EnableBGM", 1);
        GrantedKey granted{std::string(kAppKey) + pszKey, kReadWriteOnly};
        ASSERT_TRUE(granted.Grants(KEY_READ | KEY_WRITE));
        ASSERT_TRUE(granted.Refuses(KEY_ALL_ACCESS));

        auto changeAndConfirm = [](HWND hDlg)
        {
            Click(hDlg, IDC_ENABLE_BGM);
            Click(hDlg, IDC_USE_PROXY); // no proxy: user and password are deleted
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {changeAndConfirm}), IDOK);
        for (const SeenMessageBox& box : caseBoxes.Seen())
            ADD_FAILURE() << "message box '" << box.shownCaption << "': " << box.shownText;
        EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
        EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u) << "Direct";
        EXPECT_FALSE(appKey.HasValue("Login", "ProxyUser"));
        EXPECT_FALSE(appKey.HasValue("Login", "ProxyPasswd"));
    }
}

// A password stored by an earlier save, with the seed 1234567890: "secret password".
const char kStoredScrambledPassword[] = "GEStHgbTYNFDYiKNfCCAVro8gpE";

// What the player stored and did not touch is stored back exactly as it was read, also text that
// the system's code page lacks ("é" under 949, Hangul under 1252: written by another program, or
// by this one under another code page), a server whose port part no number is written back as,
// and the password's stored text (not scrambled anew). The player only switches the music off.
TEST_F(SettingsDialogTest, StoredTextsThePlayerLeftAloneAreStoredBackExactly)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    ASSERT_NE(unstorable, L"<none>");
    struct Case
    {
        const char* name;
        std::wstring server, user;
        std::string shownHost, shownPort;
    };
    const Case cases[] = {
        {"text the code page lacks", L"h" + unstorable + L":3128", L"Zo" + unstorable,
         "h" + Utf8Of(unstorable), "3128"},
        {"a port with a leading zero", L"p:08080", L"bob", "p", "08080"},
        {"a blank before the port", L"p: 80", L"bob", "p", " 80"},
        {"a sign before the port", L"p:+80", L"bob", "p", "+80"},
        {"letters after the port", L"p:8080x", L"bob", "p", "8080x"},
        {"no port", L"p", L"bob", "p", "80"},
        {"an empty port", L"p:", L"bob", "p", "80"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        appKey.WriteDword("Login", "UseProxy", 3);
        appKey.WriteWideSz("Login", "ProxyServer", c.server);
        appKey.WriteWideSz("Login", "ProxyUser", c.user);
        appKey.WriteSz("Login", "ProxyPasswd", kStoredScrambledPassword);

        auto checkSwitchMusicOffAndConfirm = [&](HWND hDlg)
        {
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_HOST), c.shownHost);
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_PORT), c.shownPort);
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_USER), Utf8Of(c.user));
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_PASSWORD), "secret password");
            Click(hDlg, IDC_ENABLE_BGM);
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {checkSwitchMusicOffAndConfirm}), IDOK);
        for (const SeenMessageBox& box : caseBoxes.Seen())
            ADD_FAILURE() << "message box '" << box.shownCaption << "': " << box.shownText;
        EXPECT_EQ(appKey.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 0u);
        EXPECT_EQ(appKey.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
        EXPECT_EQ(Utf8Of(appKey.ReadWideSz("Login", "ProxyServer")), Utf8Of(c.server));
        EXPECT_EQ(Utf8Of(appKey.ReadWideSz("Login", "ProxyUser")), Utf8Of(c.user));
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyPasswd"), kStoredScrambledPassword);
    }
}

// What the player changes goes by the usual rules: a changed text must hold in the system's code
// page, and the texts beside it that the player left alone stay as stored. A changed port stores
// the server anew, so a host the code page lacks is then refused in its field.
TEST_F(SettingsDialogTest, ChangedTextsGoByTheUsualRulesAndTheOthersStayAsStored)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    ASSERT_NE(unstorable, L"<none>");
    const std::wstring server = L"h" + unstorable + L":3128";
    const std::wstring user = L"Zo" + unstorable;
    appKey.WriteDword("Login", "UseProxy", 3);
    appKey.WriteWideSz("Login", "ProxyServer", server);
    appKey.WriteWideSz("Login", "ProxyUser", user);
    appKey.WriteSz("Login", "ProxyPasswd", kStoredScrambledPassword);

    HWND hShownDlg = nullptr;
    auto changePortAndConfirm = [&](HWND hDlg)
    {
        hShownDlg = hDlg;
        SetDlgItemTextW(hDlg, IDC_PROXY_PORT, L"8080");
        const auto before = SnapshotRegistry(kAppKey);
        Click(hDlg, IDOK);
        ExpectRefusedInField(hDlg, IDC_PROXY_HOST, 1 + unstorable.size(), before);
    };
    auto correctHostChangeUserAndConfirm = [&](HWND hDlg)
    {
        SetDlgItemTextW(hDlg, IDC_PROXY_HOST, L"h");
        SetDlgItemTextW(hDlg, IDC_PROXY_USER, L"Zoe");
        Click(hDlg, IDOK);
    };
    CStartupSettingsDlg dlg;
    EXPECT_EQ(Run(dlg, {changePortAndConfirm, correctHostChangeUserAndConfirm}), IDOK);
    ExpectOneRefusalBox(boxes, TextsForThisUser().unstorable, hShownDlg);
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"), "h:8080");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyUser"), "Zoe");
    EXPECT_EQ(appKey.ReadSz("Login", "ProxyPasswd"), kStoredScrambledPassword);
}

// A stored server whose port part is no number shows that part as stored in the port field, and
// the port's own check decides on confirm: with an explicit proxy, the prompt for a typed port,
// nothing written, the port field selected; once the player types a valid port, it is saved.
TEST_F(SettingsDialogTest, AStoredPortThatIsNoNumberMeetsThePortCheckOnConfirm)
{
    const std::string range =
        ReplaceAll(ReplaceAll(ResourceText(IDP_PARSE_INT_RANGE), "%1", "0"), "%2", "65535");
    const std::string notANumber = TextsForThisUser().notANumber;
    struct Case
    {
        const char* server;
        std::string shownPort;
        std::string prompt;
    };
    const Case cases[] = {
        {"proxy.example:http", "http", notANumber},
        {"a:b:c", "b:c", notANumber},
        {"p:-1", "-1", range},
        {"p:70000", "70000", range},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.server);
        ScratchKey freshKey{kAppKey};
        MessageBoxAnswerer caseBoxes{IDOK};
        appKey.WriteDword("Login", "UseProxy", 3);
        appKey.WriteSz("Login", "ProxyServer", c.server);

        HWND hShownDlg = nullptr;
        auto confirmAsShown = [&](HWND hDlg)
        {
            hShownDlg = hDlg;
            EXPECT_EQ(WideItemText(hDlg, IDC_PROXY_PORT), c.shownPort);
            const auto stored = SnapshotRegistry(kAppKey);
            Click(hDlg, IDOK);
            ExpectRefusedInField(hDlg, IDC_PROXY_PORT, c.shownPort.size(), stored);
        };
        auto typePortAndConfirm = [&](HWND hDlg)
        {
            SetDlgItemTextW(hDlg, IDC_PROXY_PORT, L"8080");
            Click(hDlg, IDOK);
        };
        CStartupSettingsDlg dlg;
        EXPECT_EQ(Run(dlg, {confirmAsShown, typePortAndConfirm}), IDOK);
        ExpectOneRefusalBox(caseBoxes, c.prompt, hShownDlg);
        const std::string server = c.server;
        EXPECT_EQ(appKey.ReadSz("Login", "ProxyServer"),
                  server.substr(0, server.find(':')) + ":8080");
    }
}

// Run under a Korean locale by its own ctest entry; elsewhere the Korean set is not the one the
// loader picks, and the caption is not code page 949 text.
TEST_F(SettingsDialogTest, CaptionOfTheKoreanEditionIsCodePage949Text)
{
    if (GetACP() != 949)
        GTEST_SKIP() << "needs LC_ALL=ko_KR.UTF-8 (ANSI code page " << GetACP() << ")";
    // "『Corvath Plus』 기동환경 설정" in code page 949.
    const std::string expected = "\xA1\xBA"
                                 "Corvath Plus"
                                 "\xA1\xBB \xB1\xE2\xB5\xBF\xC8\xAF\xB0\xE6 \xBC\xB3\xC1\xA4";
    CStartupSettingsDlg dlg;
    Run(dlg, {[&](HWND hDlg) { EXPECT_EQ(TextOf(hDlg), expected); }});
}

TEST_F(SettingsDialogTest, SystemMenuEndsWithASeparatorAndTheVersionItem)
{
    const std::string itemText = TextsForThisUser().versionItem;
    auto check = [&](HWND hDlg)
    {
        HMENU hMenu = GetSystemMenu(hDlg, FALSE);
        ASSERT_NE(hMenu, nullptr);
        const int nItems = GetMenuItemCount(hMenu);
        ASSERT_GE(nItems, 2);

        MENUITEMINFOA separator = {};
        separator.cbSize = sizeof(separator);
        separator.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(hMenu, nItems - 2, TRUE, &separator));
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);

        wchar_t szText[128] = {};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = szText;
        item.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(hMenu, nItems - 1, TRUE, &item));
        EXPECT_EQ(item.wID, 16u);
        EXPECT_EQ(item.fType & MFT_SEPARATOR, 0u);
        EXPECT_EQ(Utf8Of(szText, static_cast<int>(item.cch)), itemText) << "as the user reads it";
    };
    CStartupSettingsDlg dlg;
    Run(dlg, {check});
}

// The template's child rectangles in client coordinates, in template order, and its client
// rectangle: the same template created without any of the dialog's code.
struct TemplateLayout
{
    RECT client;
    std::vector<RECT> children;
};

std::vector<RECT> ChildRects(HWND hDlg)
{
    std::vector<RECT> rects;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        RECT rc;
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        rects.push_back(rc);
    }
    return rects;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

TemplateLayout LayoutOfTheTemplate()
{
    TemplateLayout layout = {};
    HWND hDlg =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STARTUP_SETTINGS),
                           nullptr, &PlainDialogProc, 0);
    if (hDlg == nullptr)
        return layout;
    GetClientRect(hDlg, &layout.client);
    layout.children = ChildRects(hDlg);
    DestroyWindow(hDlg);
    return layout;
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}
int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

TEST_F(SettingsDialogTest, BannerTakesItsBitmapSizeCentredAndEveryOtherControlMovesAlike)
{
    const TemplateLayout before = LayoutOfTheTemplate();
    ASSERT_GT(before.children.size(), 1u);

    RECT client = {};
    std::vector<RECT> after;
    auto measure = [&](HWND hDlg)
    {
        GetClientRect(hDlg, &client);
        after = ChildRects(hDlg);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(hDlg, IDC_BANNER)));
    };
    CStartupSettingsDlg dlg;
    Run(dlg, {measure});
    ASSERT_EQ(after.size(), before.children.size());

    const RECT& placeholder = before.children[0];
    const RECT& banner = after[0];
    EXPECT_EQ(Width(banner), 408);
    EXPECT_EQ(Height(banner), 96);
    EXPECT_EQ(banner.top, placeholder.top);
    const int leftMargin = banner.left;
    const int rightMargin = Width(client) - banner.right;
    EXPECT_LE(rightMargin - leftMargin, 1) << "centred: " << leftMargin << " | " << rightMargin;
    EXPECT_GE(rightMargin - leftMargin, 0) << "centred: " << leftMargin << " | " << rightMargin;

    // The dialog is at least as wide as the banner with the template's margin on both sides, and
    // grows in height by what the banner grew.
    const int dy = 96 - Height(placeholder);
    const int neededWidth = 408 + 2 * placeholder.left;
    EXPECT_EQ(Width(client), std::max<int>(Width(before.client), neededWidth));
    EXPECT_EQ(Height(client), Height(before.client) + dy);

    const int dx = (Width(client) - Width(before.client)) / 2;
    for (size_t i = 1; i < after.size(); ++i)
    {
        SCOPED_TRACE("child " + std::to_string(i));
        EXPECT_EQ(after[i].left, before.children[i].left + dx);
        EXPECT_EQ(after[i].top, before.children[i].top + dy);
        EXPECT_EQ(Width(after[i]), Width(before.children[i]));
        EXPECT_EQ(Height(after[i]), Height(before.children[i]));
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &after[i], &banner)) << "overlaps the banner";
    }
}
} // namespace
