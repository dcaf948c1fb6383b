// Plays a player who has unpacked the release package: starts the unpacked program by its full
// path, as Explorer would (that folder as the current one), and drives its dialog from outside.
//
//   package_driver save LANG PATH   from a fresh registry: checks the caption of LANG's set, opens
//                                   and closes the version dialog, sets the media switches and an
//                                   explicit proxy, confirms, and reads the registry back
//   package_driver read LANG PATH   checks that the dialog shows what "save" stored, cancels, and
//                                   that the registry is unchanged
//
// LANG is ko or ja; the values saved depend on it, so a read cannot pass on an older run's values.
// PATH is the program's Windows path in UTF-8 with every byte outside letters, digits and "-._:"
// written as %XX: non-ASCII command-line arguments do not survive the way into a Wine process,
// ASCII does. Prints one line per check and exits 0 when all of them hold, 1 otherwise.
#include "settings/PasswordCodec.h"
#include "support/ProcessDialogs.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
const DWORD kPatienceMs = 15000;

// Command of the version item in the system menu, and the controls met below.
const WPARAM kVersionCommand = 0x0010;
const int kBanner = 1001;
const int kEnableBGM = 1003;
const int kEnableSound = 1004;
const int kEnableMovie = 1005;
const int kUseProxy = 1006;
const int kProxyNamed = 1008;
const int kHost = 1009;
const int kPort = 1010;
const int kUser = 1011;
const int kPassword = 1012;
const int kVersionTitle = 1013;
const int kVersionLine = 1014;

int g_failures = 0;

std::string Utf8(const std::wstring& wide)
{
    const int cb = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], cb, nullptr, nullptr);
    text.resize(text.find('\0'));
    return text;
}

std::wstring Wide(const std::string& utf8)
{
    const int cch = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(cch), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &text[0], cch);
    text.resize(text.find(L'\0'));
    return text;
}

bool Check(bool holds, const std::string& what)
{
    std::printf("%s: %s\n", holds ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!holds)
        ++g_failures;
    return holds;
}

bool WaitUntil(const std::function<bool()>& condition)
{
    return ::WaitUntil(condition, kPatienceMs);
}

std::wstring PercentDecoded(const char* text)
{
    std::string bytes;
    for (const char* p = text; *p != '\0'; ++p)
    {
        unsigned int byte = 0;
        if (*p == '%' && std::sscanf(p + 1, "%2x", &byte) == 1)
        {
            bytes += static_cast<char>(byte);
            p += 2;
        }
        else
            bytes += *p;
    }
    return Wide(bytes);
}

HWND WaitForDialog(DWORD dwProcessId, int nItemId)
{
    HWND hFound = nullptr;
    WaitUntil([&] { return (hFound = VisibleDialogOf(dwProcessId, nullptr, nItemId)) != nullptr; });
    return hFound;
}

// What one language run stores, different for each so that a later read proves its own source.
struct PlayerChoice
{
    std::wstring caption; // the caption of the language's own set
    std::string host;
    std::string port;
    std::string user;
    std::string password;
};

bool ChoiceFor(const std::string& lang, PlayerChoice* pChoice)
{
    if (lang == "ja")
        *pChoice = {L"『Corvath Plus』 起動環境設定", "ja.proxy.example", "8080", "player-ja",
                    "pa55 w0rd!ja"};
    else if (lang == "ko")
        *pChoice = {L"『Corvath Plus』 기동환경 설정", "ko.proxy.example", "3128", "player-ko",
                    "pa55 w0rd!ko"};
    else
        return false;
    return true;
}

bool ReadDword(const char* subKey, const char* value, DWORD* pData)
{
    const std::string key = std::string(kAppKey) + "\\" + subKey;
    DWORD cb = sizeof(*pData);
    return RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, pData,
                        &cb) == ERROR_SUCCESS;
}

bool ReadSz(const char* subKey, const char* value, std::string* pData)
{
    const std::string key = std::string(kAppKey) + "\\" + subKey;
    char szData[512] = {};
    DWORD cb = sizeof(szData);
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, szData, &cb) !=
        ERROR_SUCCESS)
        return false;
    *pData = szData;
    return true;
}

void CheckDword(const char* subKey, const char* value, DWORD expected)
{
    DWORD data = 0xDEADBEEF;
    const bool read = ReadDword(subKey, value, &data);
    Check(read && data == expected, std::string("registry ") + subKey + "\\" + value + " = " +
                                        (read ? std::to_string(data) : "<missing>") +
                                        ", expected " + std::to_string(expected));
}

void CheckSz(const char* subKey, const char* value, const std::string& expected)
{
    std::string data;
    const bool read = ReadSz(subKey, value, &data);
    Check(read && data == expected, std::string("registry ") + subKey + "\\" + value + " = \"" +
                                        (read ? data : "<missing>") + "\", expected \"" + expected +
                                        "\"");
}

void CheckStoredChoice(const PlayerChoice& choice)
{
    CheckDword("Configs", "EnableBGM", 1);
    CheckDword("Configs", "EnableSound", 0);
    CheckDword("Configs", "EnableMovie", 1);
    CheckDword("Login", "UseProxy", 3);
    CheckSz("Login", "ProxyServer", choice.host + ":" + choice.port);
    CheckSz("Login", "ProxyUser", choice.user);
    std::string scrambled;
    ReadSz("Login", "ProxyPasswd", &scrambled);
    char* pszPassword = nullptr;
    UnscramblePassword(scrambled.c_str(), PROXY_PASSWD_KEY, &pszPassword);
    const std::string password = pszPassword != nullptr ? pszPassword : "<does not unscramble>";
    FreePasswordBuffer(pszPassword);
    Check(scrambled != choice.password && password == choice.password,
          "registry Login\\ProxyPasswd \"" + scrambled + "\" is scrambled and unscrambles to \"" +
              password + "\"");
}

// Started from that very file, its main dialog on screen with the caption of the language's set.
HWND StartAndFindDialog(const ChildProgram& program, const std::wstring& path,
                        const PlayerChoice& choice)
{
    if (!Check(program.Started(), "the program starts from " + Utf8(path) + " (error " +
                                      std::to_string(program.StartError()) + ")"))
        return nullptr;
    Check(lstrcmpiW(program.ImagePath().c_str(), path.c_str()) == 0,
          "the process runs the unpacked file: " + Utf8(program.ImagePath()));
    HWND hDlg = WaitForDialog(program.ProcessId(), kBanner);
    if (!Check(hDlg != nullptr, "its settings dialog appears"))
        return nullptr;
    wchar_t szCaption[128] = {};
    GetWindowTextW(hDlg, szCaption, 128);
    Check(szCaption == choice.caption, "caption \"" + Utf8(szCaption) + "\"");
    return hDlg;
}

void CheckVersionDialog(const ChildProgram& program, HWND hDlg, const PlayerChoice& choice)
{
    PostMessageW(hDlg, WM_SYSCOMMAND, kVersionCommand, 0);
    HWND hVersion = WaitForDialog(program.ProcessId(), kVersionLine);
    if (!Check(hVersion != nullptr, "the system menu's version item opens the version dialog"))
        return;
    Check(ControlTextW(GetDlgItem(hVersion, kVersionTitle)) == choice.caption,
          "version dialog title \"" + Utf8(ControlTextW(GetDlgItem(hVersion, kVersionTitle))) +
              "\"");
    Check(ControlTextW(GetDlgItem(hVersion, kVersionLine)) == L"Version 1.0",
          "version dialog line \"" + Utf8(ControlTextW(GetDlgItem(hVersion, kVersionLine))) + "\"");
    ClickFromOutside(hVersion, IDOK);
    Check(WaitUntil([&] { return !IsWindow(hVersion); }), "its OK button closes it");
    Check(IsWindowVisible(hDlg) != FALSE, "the settings dialog is still open");
}

void CheckFieldShows(HWND hDlg, int nID, const std::string& expected, const char* name)
{
    const bool shows =
        WaitUntil([&] { return ControlTextW(GetDlgItem(hDlg, nID)) == Wide(expected); });
    Check(shows,
          std::string(name) + " shows \"" + Utf8(ControlTextW(GetDlgItem(hDlg, nID))) + "\"");
}

int Save(const std::wstring& path, const PlayerChoice& choice)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    ChildProgram program(path, kPatienceMs);
    HWND hDlg = StartAndFindDialog(program, path, choice);
    if (hDlg == nullptr)
        return 1;
    Check(IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)) &&
              IsCheckedFromOutside(GetDlgItem(hDlg, kEnableSound)) &&
              IsCheckedFromOutside(GetDlgItem(hDlg, kEnableMovie)),
          "a first start shows music, sound and movies on");
    CheckVersionDialog(program, hDlg, choice);

    ClickFromOutside(hDlg, kEnableSound);
    Check(WaitUntil([&] { return !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableSound)); }),
          "sound effects switched off");
    if (!IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxy)))
        ClickFromOutside(hDlg, kUseProxy);
    ClickFromOutside(hDlg, kProxyNamed);
    Check(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, kHost)) != FALSE; }),
          "an explicit proxy enables its fields");
    TypeFromOutside(hDlg, kHost, choice.host);
    CheckFieldShows(hDlg, kHost, choice.host, "host");
    TypeFromOutside(hDlg, kPort, choice.port);
    CheckFieldShows(hDlg, kPort, choice.port, "port");
    TypeFromOutside(hDlg, kUser, choice.user);
    CheckFieldShows(hDlg, kUser, choice.user, "user");
    TypeFromOutside(hDlg, kPassword, choice.password);
    Check(WaitUntil(
              [&]
              {
                  return ControlTextLength(GetDlgItem(hDlg, kPassword)) ==
                         static_cast<LRESULT>(choice.password.size());
              }),
          "password typed");

    ClickFromOutside(hDlg, IDOK);
    Check(program.WaitForExit() == 0, "the confirm button saves and ends the program");
    CheckStoredChoice(choice);
    return g_failures == 0 ? 0 : 1;
}

int Read(const std::wstring& path, const PlayerChoice& choice)
{
    ChildProgram program(path, kPatienceMs);
    HWND hDlg = StartAndFindDialog(program, path, choice);
    if (hDlg == nullptr)
        return 1;
    Check(IsCheckedFromOutside(GetDlgItem(hDlg, kEnableBGM)) &&
              !IsCheckedFromOutside(GetDlgItem(hDlg, kEnableSound)) &&
              IsCheckedFromOutside(GetDlgItem(hDlg, kEnableMovie)),
          "shows music on, sound effects off, movies on");
    Check(IsCheckedFromOutside(GetDlgItem(hDlg, kUseProxy)) &&
              IsCheckedFromOutside(GetDlgItem(hDlg, kProxyNamed)),
          "shows the explicit proxy");
    CheckFieldShows(hDlg, kHost, choice.host, "host");
    CheckFieldShows(hDlg, kPort, choice.port, "port");
    CheckFieldShows(hDlg, kUser, choice.user, "user");
    Check(ControlTextLength(GetDlgItem(hDlg, kPassword)) ==
              static_cast<LRESULT>(choice.password.size()),
          "password field holds the stored password's length");

    ClickFromOutside(hDlg, IDCANCEL);
    Check(program.WaitForExit() == 0, "cancel ends the program");
    CheckStoredChoice(choice);
    return g_failures == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    PlayerChoice choice;
    if (argc != 4 || !ChoiceFor(argv[2], &choice))
    {
        std::fprintf(stderr, "usage: package_driver save|read ko|ja PERCENT-ENCODED-PATH\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::wstring path = PercentDecoded(argv[3]);
    if (mode == "save")
        return Save(path, choice);
    if (mode == "read")
        return Read(path, choice);
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
