// The proxy settings record against the real registry, below a key of the test's own.
#include "settings/CProxySettings.h"
#include "settings/PasswordCodec.h"
#include "support/GrantedKey.h"
#include "support/ReadOnlyKey.h"
#include "support/ScratchKey.h"
#include "support/StoredPassword.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace
{
const char kScratch[] = "Software\\StartupSettingsTests\\ProxySettings";

const DWORD kMissing = 0xDEADBEEF; // seeds the "value absent" cases of the tables below

class ProxySettingsTest : public ::testing::Test
{
protected:
    ScratchKey key{kScratch};
};

struct LoadCase
{
    const char* name;
    DWORD useProxy;     // kMissing: not stored
    const char* server; // null: not stored
    ProxyMode mode;
};

TEST_F(ProxySettingsTest, LoadDerivesTheModeFromUseProxyAndTheServerText)
{
    const LoadCase cases[] = {
        {"nothing stored", kMissing, nullptr, Preconfig},
        {"UseProxy 1 keeps the server", 1, "p:8080", Direct},
        {"UseProxy 3 without server", 3, nullptr, Preconfig},
        {"UseProxy 3 with empty server", 3, "", Preconfig},
        {"UseProxy 0 with server", 0, "p:8080", NamedProxy},
        {"UseProxy 0 without server", 0, "", Preconfig},
        {"UseProxy 2 with server", 2, "p:8080", NamedProxy},
        {"UseProxy 7 without server", 7, nullptr, Preconfig},
    };
    for (const LoadCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey fresh{kScratch};
        if (c.useProxy != kMissing)
            fresh.WriteDword("Login", "UseProxy", c.useProxy);
        if (c.server != nullptr)
            fresh.WriteSz("Login", "ProxyServer", c.server);

        CProxySettings record(fresh.Open(), FALSE, TRUE);
        record.Load();
        EXPECT_EQ(record.m_nProxyMode, c.mode);
        EXPECT_STREQ(record.m_strProxyServer, c.server != nullptr ? c.server : "");
    }
}

TEST_F(ProxySettingsTest, LoadOnAFreshUserCreatesTheLoginKeyAndNoValue)
{
    CProxySettings record(key.Open(), FALSE, TRUE);
    record.Load();
    EXPECT_EQ(record.m_nProxyMode, Preconfig);
    EXPECT_STREQ(record.m_strProxyServer, "");
    EXPECT_STREQ(record.m_strProxyUser, "");
    EXPECT_STREQ(record.m_strProxyPasswd, "");
    EXPECT_TRUE(key.Exists("Login"));
    for (const char* value : {"UseProxy", "ProxyServer", "ProxyUser", "ProxyPasswd"})
        EXPECT_FALSE(key.HasValue("Login", value)) << value;
}

TEST_F(ProxySettingsTest, ConstructorLoadsOnlyWhenAsked)
{
    key.WriteDword("Login", "UseProxy", 0);
    key.WriteSz("Login", "ProxyServer", "host:1");

    CProxySettings notLoaded(key.Open(), FALSE, TRUE);
    EXPECT_EQ(notLoaded.m_nProxyMode, Direct);
    EXPECT_STREQ(notLoaded.m_strProxyServer, "");

    CProxySettings loaded(key.Open(), TRUE, TRUE);
    EXPECT_EQ(loaded.m_nProxyMode, NamedProxy);
    EXPECT_STREQ(loaded.m_strProxyServer, "host:1");
}

TEST_F(ProxySettingsTest, ValuesOfTheWrongTypeReadAsMissing)
{
    struct Case
    {
        const char* name;
        const char* value;
        DWORD type;
        std::string data;
    };
    const Case cases[] = {
        {"UseProxy as REG_SZ \"1\"", "UseProxy", REG_SZ, std::string("1\0", 2)},
        {"UseProxy as 8-byte REG_QWORD 1", "UseProxy", REG_QWORD,
         std::string("\1\0\0\0\0\0\0\0", 8)},
        {"UseProxy as REG_BINARY 1", "UseProxy", REG_BINARY, std::string("\1\0\0\0", 4)},
        {"ProxyServer as REG_EXPAND_SZ", "ProxyServer", REG_EXPAND_SZ, std::string("p:8080\0", 7)},
        {"ProxyServer as REG_BINARY", "ProxyServer", REG_BINARY, std::string("p:8080\0", 7)},
        {"ProxyServer as REG_MULTI_SZ", "ProxyServer", REG_MULTI_SZ, std::string("p:8080\0\0", 8)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey fresh{kScratch};
        fresh.Write("Login", c.value, c.type, c.data);
        CProxySettings record(fresh.Open(), TRUE, TRUE);
        // A UseProxy that does not read falls back to 0, so the empty server gives Preconfig; a
        // server that does not read is empty, and so is the mode's evidence.
        EXPECT_EQ(record.m_nProxyMode, Preconfig);
        EXPECT_STREQ(record.m_strProxyServer, "");
    }
}

TEST_F(ProxySettingsTest, AStringStoredWithoutItsTerminatorReadsWhole)
{
    key.Write("Login", "ProxyServer", REG_SZ, "proxy:3128");
    CProxySettings record(key.Open(), TRUE, TRUE);
    EXPECT_STREQ(record.m_strProxyServer, "proxy:3128");
}

TEST_F(ProxySettingsTest, AStringReadsUpToItsFirstZero)
{
    key.Write("Login", "ProxyUser", REG_SZ, std::string("name\0rest\0", 10));
    CProxySettings record(key.Open(), TRUE, TRUE);
    EXPECT_STREQ(record.m_strProxyUser, "name");
}

TEST_F(ProxySettingsTest, SaveWritesEachModeByItsRules)
{
    struct Case
    {
        const char* name;
        BOOL useProxy;
        BOOL preconfig;
        const char* password;
        DWORD useProxyStored;
        const char* serverStored;
        const char* userStored; // "<missing>" when deleted
        bool passwordStored;
    };
    const Case cases[] = {
        {"named with password", TRUE, FALSE, "secret", 3, "proxy:8080", "user", true},
        {"named with empty password", TRUE, FALSE, "", 3, "proxy:8080", "user", false},
        {"preconfig drops server, user and password", TRUE, TRUE, "secret", 0, "", "<missing>",
         false},
        {"direct", FALSE, FALSE, "secret", 1, "", "<missing>", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey fresh{kScratch};
        // What an earlier save left behind, so that deletions show.
        fresh.WriteSz("Login", "ProxyUser", "old user");
        fresh.WriteSz("Login", "ProxyPasswd", "oldscrambledtext");
        {
            CProxySettings record(fresh.Open(), FALSE, TRUE);
            record.Set(c.useProxy, c.preconfig, "proxy", 8080, "user", c.password);
            record.Save();
        }
        EXPECT_EQ(fresh.ReadDword("Login", "UseProxy", kMissing), c.useProxyStored);
        EXPECT_EQ(fresh.ReadSz("Login", "ProxyServer"), c.serverStored);
        EXPECT_EQ(fresh.ReadSz("Login", "ProxyUser"), c.userStored);
        EXPECT_EQ(fresh.HasValue("Login", "ProxyPasswd"), c.passwordStored);
    }
}

TEST_F(ProxySettingsTest, SaveInPreconfigWritesAnEmptyServerEvenWhenTheRecordHoldsOne)
{
    {
        CProxySettings record(key.Open(), FALSE, TRUE);
        record.m_nProxyMode = Preconfig;
        record.m_strProxyServer = "still:1";
        record.m_strProxyUser = "u";
        record.Save();
    }
    EXPECT_EQ(key.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
}

TEST_F(ProxySettingsTest, SaveInDirectWithNothingStoredIsHarmless)
{
    {
        CProxySettings record(key.Open(), FALSE, TRUE);
        record.Set(FALSE, FALSE, nullptr, 0, nullptr, nullptr);
        record.Save();
    }
    EXPECT_EQ(key.ReadDword("Login", "UseProxy", kMissing), 1u);
    EXPECT_EQ(key.ReadSz("Login", "ProxyServer"), "");
    EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
    EXPECT_FALSE(key.HasValue("Login", "ProxyPasswd"));
}

TEST_F(ProxySettingsTest, SavedPasswordIsScrambledAndLoadsBackUnchanged)
{
    const char* passwords[] = {
        "p",
        "secret12",
        "with:colon and blanks ",
        "\xC7\xD1\xB1\xDB\xBE\xC6\xC0\xCC", // "한글아이" in code page 949
        "\x80\x81\xFE\xFF",
    };
    for (const char* password : passwords)
    {
        SCOPED_TRACE(password);
        ScratchKey fresh{kScratch};
        {
            CProxySettings record(fresh.Open(), FALSE, TRUE);
            record.Set(TRUE, FALSE, "proxy", 8080, "user", password);
            record.Save();
        }
        const std::string stored = fresh.ReadSz("Login", "ProxyPasswd");
        EXPECT_NE(stored, password);
        EXPECT_EQ(stored.size(), (4 * (strlen(password) + 5) + 2) / 3);
        CProxySettings record(fresh.Open(), TRUE, TRUE);
        EXPECT_STREQ(record.m_strProxyPasswd, password);
    }
}

TEST_F(ProxySettingsTest, APasswordThatDoesNotUnscrambleLoadsEmpty)
{
    for (const char* text : {"gI1Xj", "*@@@@@@@", "@*@@@@@@"})
    {
        SCOPED_TRACE(text);
        ScratchKey fresh{kScratch};
        fresh.WriteSz("Login", "ProxyPasswd", text);
        fresh.WriteSz("Login", "ProxyServer", "p:1");
        CProxySettings record(fresh.Open(), TRUE, TRUE);
        EXPECT_STREQ(record.m_strProxyPasswd, "");
        EXPECT_EQ(record.m_nProxyMode, NamedProxy);
    }
}

TEST_F(ProxySettingsTest, SetFillsTheRecordByMode)
{
    struct Case
    {
        const char* name;
        BOOL useProxy, preconfig;
        const char* host;
        UINT port;
        ProxyMode mode;
        const char *server, *user, *password;
    };
    const Case cases[] = {
        {"named", TRUE, FALSE, "proxy", 8080, NamedProxy, "proxy:8080", "u", "pw"},
        {"named port 0", TRUE, FALSE, "proxy", 0, NamedProxy, "proxy:0", "u", "pw"},
        {"named top port", TRUE, FALSE, "h", 4294967295u, NamedProxy, "h:4294967295", "u", "pw"},
        {"named null host", TRUE, FALSE, nullptr, 80, NamedProxy, ":80", "u", "pw"},
        {"preconfig keeps user and password", TRUE, TRUE, "proxy", 8080, Preconfig, "", "u", "pw"},
        {"direct empties everything", FALSE, FALSE, "proxy", 8080, Direct, "", "", ""},
        {"direct ignores the preconfig flag", FALSE, TRUE, "proxy", 8080, Direct, "", "", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CProxySettings record(nullptr, FALSE, TRUE);
        record.m_strProxyServer = "stale:1";
        record.Set(c.useProxy, c.preconfig, c.host, c.port, "u", "pw");
        EXPECT_EQ(record.m_nProxyMode, c.mode);
        EXPECT_STREQ(record.m_strProxyServer, c.server);
        EXPECT_STREQ(record.m_strProxyUser, c.user);
        EXPECT_STREQ(record.m_strProxyPasswd, c.password);
    }
}

TEST_F(ProxySettingsTest, SetTakesNullUserAndPasswordAsEmpty)
{
    CProxySettings record(nullptr, FALSE, TRUE);
    record.Set(TRUE, FALSE, "h", 1, nullptr, nullptr);
    EXPECT_STREQ(record.m_strProxyUser, "");
    EXPECT_STREQ(record.m_strProxyPasswd, "");
}

// The server text as read splits at its first ':' into the host and the port part as stored:
// a port part that is no number is not turned into one (the port field shows it, and the port's
// own check judges it), and no port part reads as 80.
TEST(ProxySettingsSplit, SplitServerTable)
{
    struct Case
    {
        const wchar_t* server;
        const wchar_t* host;
        const wchar_t* port;
    };
    const Case cases[] = {
        {L"proxy", L"proxy", L"80"},
        {L"proxy:", L"proxy", L"80"},
        {L"", L"", L"80"},
        {L":8080", L"", L"8080"},
        {L"p:8080", L"p", L"8080"},
        {L"p:0", L"p", L"0"},
        {L"p:65535", L"p", L"65535"},
        {L"p:70000", L"p", L"70000"},
        // Port parts that no number is written back as: as stored.
        {L"p:http", L"p", L"http"},
        {L"a:b:c", L"a", L"b:c"},
        {L"a:8080x", L"a", L"8080x"},
        {L"h: 42", L"h", L" 42"},
        {L"h:+7", L"h", L"+7"},
        {L"h:08080", L"h", L"08080"},
        {L"h:-1", L"h", L"-1"},
        {L"h:99999999999", L"h", L"99999999999"},
        // Characters of any code page, as stored: "한:81", "Zoë:81".
        {L"\uD55C:81", L"\uD55C", L"81"},
        {L"Zo\u00EB.example:81", L"Zo\u00EB.example", L"81"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Utf8Of(c.server));
        CProxySettings record(nullptr, FALSE, TRUE);
        record.m_wideProxyServer = CWideText(c.server, static_cast<int>(wcslen(c.server)));
        CWideText host(L"untouched", 9);
        CWideText port(L"untouched", 9);
        record.SplitServer(host, port);
        EXPECT_EQ(Utf8Of(host, host.GetLength()), Utf8Of(c.host));
        EXPECT_EQ(Utf8Of(port, port.GetLength()), Utf8Of(c.port));
    }
}

// A host is stored as "host:port" and read back up to the first ':' byte. No code page with
// double-byte characters takes ':' for a trail byte, so a ':' right after a lead byte is a colon
// too: taken for part of the host, it would be stored as "\x81:80:80" and read back as another
// host. The lead byte is taken from the system's code page ("한" is C7 D1 in 949).
TEST(ProxySettingsHost, AHostIsStorableUnlessItHoldsAColonByte)
{
    char chLead = 0;
    for (int ch = 0x81; ch <= 0xFE && chLead == 0; ++ch)
    {
        if (IsDBCSLeadByte(static_cast<BYTE>(ch)))
            chLead = static_cast<char>(ch);
    }
    struct Case
    {
        std::string host;
        BOOL storable;
    };
    std::vector<Case> cases = {
        {"proxy.example", TRUE},
        {"", TRUE},
        {"  ", TRUE},
        {"p:1", FALSE},
        {":", FALSE},
        {"fe80::1", FALSE},
        {"\xC7\xD1", TRUE},
        {"\xC7\xD1:81", FALSE},
    };
    if (chLead != 0)
    {
        cases.push_back({std::string(1, chLead) + ":", FALSE});
        cases.push_back({std::string("a") + chLead + ":80", FALSE});
        cases.push_back({std::string(1, chLead), TRUE});
    }
    else
    {
        std::printf(
            "[ NOTE ] code page %u has no lead bytes: the lead-byte rows need a double-byte "
            "code page (the .ko_KR run)\n",
            GetACP());
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(CProxySettings::IsStorableHost(c.host.c_str()), c.storable);
    }
    EXPECT_TRUE(CProxySettings::IsStorableHost(nullptr));
}

TEST(ProxySettingsHost, AHostNamesAServerUnlessItIsEmptyOrBlank)
{
    struct Case
    {
        const wchar_t* host;
        BOOL names;
    };
    const Case cases[] = {
        {L"", FALSE},   {L" ", FALSE},     {L" \t ", FALSE}, {L"\t", FALSE},      {L"p", TRUE},
        {L" p ", TRUE}, {L"\uD55C", TRUE}, {L":", TRUE},     {L"Zo\u00EB", TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Utf8Of(c.host));
        EXPECT_EQ(CProxySettings::NamesAServer(c.host), c.names);
    }
    EXPECT_FALSE(CProxySettings::NamesAServer(nullptr));
}

TEST(ProxySettingsNoKey, WithoutAKeyReadsGiveDefaultsAndWritesDoNothing)
{
    CProxySettings record(nullptr, FALSE, TRUE);
    EXPECT_EQ(record.ReadDwordValue("Login", "UseProxy", 42), 42u);
    EXPECT_STREQ(record.ReadStringValue("Login", "ProxyServer", "dflt"), "dflt");
    EXPECT_FALSE(record.WriteDwordValue("Login", "UseProxy", 1));
    EXPECT_FALSE(record.WriteStringValue("Login", "ProxyServer", "x"));
    record.Load();
    EXPECT_EQ(record.m_nProxyMode, Preconfig);
    record.Save(); // must not crash
}

TEST_F(ProxySettingsTest, NoSubkeyNameFailsWithoutTouchingTheRegistry)
{
    CProxySettings record(key.Open(), FALSE, TRUE);
    EXPECT_EQ(record.ReadDwordValue(nullptr, "UseProxy", 42), 42u);
    EXPECT_FALSE(record.WriteStringValue(nullptr, "ProxyServer", "x"));
}

TEST_F(ProxySettingsTest, WriteStringValueWithNullDeletesAndReportsAMissingValue)
{
    CProxySettings record(key.Open(), FALSE, TRUE);
    EXPECT_TRUE(record.WriteStringValue("Login", "ProxyUser", "x"));
    EXPECT_TRUE(record.WriteStringValue("Login", "ProxyUser", nullptr));
    EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
    EXPECT_FALSE(record.WriteStringValue("Login", "ProxyUser", nullptr));
}

TEST_F(ProxySettingsTest, DestructorClosesTheKeyOnlyWhenItOwnsIt)
{
    HKEY hKey = key.Open();
    {
        CProxySettings borrowed(hKey, FALSE, FALSE);
    }
    DWORD count = 0;
    EXPECT_EQ(RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    {
        CProxySettings owner(hKey, FALSE, TRUE);
        EXPECT_EQ(owner.m_hKey, hKey);
    }
    EXPECT_EQ(RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}
// Save tells whether everything was written, so that the dialog can report a refused save: values
// that are absent already count as deleted, and a Login key that refuses writing for real fails
// both Save and the check before it.
TEST_F(ProxySettingsTest, SaveReportsWhetherEveryValueWasWritten)
{
    struct Case
    {
        const char* name;
        BOOL bUseProxy, bPreconfig;
        const char* password;
    };
    const Case cases[] = {
        {"Direct with nothing stored", FALSE, FALSE, nullptr},
        {"Preconfig with nothing stored", TRUE, TRUE, "pw"},
        {"NamedProxy with an empty password", TRUE, FALSE, ""},
        {"NamedProxy with a password", TRUE, FALSE, "pw"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey fresh{kScratch};
        CProxySettings record(fresh.Open(), FALSE, TRUE);
        record.Set(c.bUseProxy, c.bPreconfig, "h", 80, "u", c.password);
        EXPECT_TRUE(record.CanSave());
        EXPECT_TRUE(record.Save());

        ReadOnlyKey readOnly{std::string(kScratch) + "\\Login"};
        ASSERT_TRUE(readOnly.Refuses());
        EXPECT_FALSE(record.CanSave());
        EXPECT_FALSE(record.Save());
    }
}

// A Login key the user may read but not write still reads whole: "no proxy" stays "no proxy",
// whether or not an earlier server is still stored beside it. Reading any of its values with a
// request for write access would fail, and UseProxy would fall back to the server's evidence.
TEST_F(ProxySettingsTest, AReadOnlyLoginKeyHoldingNoProxyReadsAsNoProxy)
{
    for (const char* server : {static_cast<const char*>(nullptr), "p.example:3128"})
    {
        SCOPED_TRACE(server != nullptr ? server : "no server");
        ScratchKey fresh{kScratch};
        fresh.WriteDword("Login", "UseProxy", 1);
        if (server != nullptr)
            fresh.WriteSz("Login", "ProxyServer", server);
        ReadOnlyKey readOnly{std::string(kScratch) + "\\Login"};
        ASSERT_TRUE(readOnly.Refuses());

        CProxySettings record(fresh.Open(), FALSE, TRUE);
        record.Load();
        EXPECT_EQ(record.m_nProxyMode, Direct);
        EXPECT_STREQ(record.m_strProxyServer, server != nullptr ? server : "");
        EXPECT_EQ(record.ReadDwordValue("Login", "UseProxy", 42), 1u);
    }
}

// The texts as the registry keeps them, in UTF-16: a character that the system's code page lacks
// ("é" under 949, Hangul under 1252) reads as stored.
TEST_F(ProxySettingsTest, LoadKeepsTheTextsAsStoredInUtf16)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    ASSERT_NE(unstorable, L"<none>");
    key.WriteDword("Login", "UseProxy", 3);
    key.WriteWideSz("Login", "ProxyServer", L"h" + unstorable + L":8080");
    key.WriteWideSz("Login", "ProxyUser", L"Zo" + unstorable);
    CProxySettings record(key.Open(), TRUE, TRUE);
    EXPECT_EQ(record.m_nProxyMode, NamedProxy);
    EXPECT_EQ(Utf8Of(record.m_wideProxyServer, record.m_wideProxyServer.GetLength()),
              Utf8Of(L"h" + unstorable + L":8080"));
    EXPECT_EQ(Utf8Of(record.m_wideProxyUser, record.m_wideProxyUser.GetLength()),
              Utf8Of(L"Zo" + unstorable));
}

// A save with an explicit proxy leaves the texts that the player did not change as they are
// stored, byte for byte, and writes the others; without an explicit proxy the flags change
// nothing: the server is emptied and user and password are deleted as always.
TEST_F(ProxySettingsTest, KeptTextsAreNotRewrittenByASaveWithAnExplicitProxy)
{
    const std::wstring unstorable = AnsiCodePageSample(false);
    ASSERT_NE(unstorable, L"<none>");
    const std::wstring server = L"h" + unstorable + L":08080";
    const std::wstring user = L"Zo" + unstorable;
    const char scrambled[] = "GEStHgbTYNFDYiKNfCCAVro8gpE"; // "secret password", seed 1234567890
    struct Case
    {
        const char* name;
        BOOL useProxy;
        UINT kept;
        bool serverKept, userKept, passwordKept;
    };
    const Case cases[] = {
        {"all kept", TRUE,
         CProxySettings::KeepServer | CProxySettings::KeepUser | CProxySettings::KeepPassword, true,
         true, true},
        {"server kept", TRUE, CProxySettings::KeepServer, true, false, false},
        {"user kept", TRUE, CProxySettings::KeepUser, false, true, false},
        {"password kept", TRUE, CProxySettings::KeepPassword, false, false, true},
        {"nothing kept", TRUE, 0, false, false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScratchKey fresh{kScratch};
        fresh.WriteDword("Login", "UseProxy", 3);
        fresh.WriteWideSz("Login", "ProxyServer", server);
        fresh.WriteWideSz("Login", "ProxyUser", user);
        fresh.WriteSz("Login", "ProxyPasswd", scrambled);
        {
            CProxySettings record(fresh.Open(), TRUE, TRUE);
            record.Set(c.useProxy, FALSE, "typed", 81, "typed user", "typed password");
            record.m_nKept = c.kept;
            EXPECT_TRUE(record.Save());
        }
        EXPECT_EQ(fresh.ReadDword("Login", "UseProxy", kMissing), 3u);
        EXPECT_EQ(Utf8Of(fresh.ReadWideSz("Login", "ProxyServer")),
                  c.serverKept ? Utf8Of(server) : "typed:81");
        EXPECT_EQ(Utf8Of(fresh.ReadWideSz("Login", "ProxyUser")),
                  c.userKept ? Utf8Of(user) : "typed user");
        if (c.passwordKept)
            EXPECT_EQ(fresh.ReadSz("Login", "ProxyPasswd"), scrambled);
        else
            EXPECT_EQ(UnscrambledPassword(fresh.ReadSz("Login", "ProxyPasswd")), "typed password");
    }
    for (BOOL preconfig : {TRUE, FALSE})
    {
        SCOPED_TRACE(preconfig ? "the system's settings" : "no proxy");
        ScratchKey fresh{kScratch};
        fresh.WriteWideSz("Login", "ProxyServer", server);
        fresh.WriteWideSz("Login", "ProxyUser", user);
        fresh.WriteSz("Login", "ProxyPasswd", scrambled);
        {
            CProxySettings record(fresh.Open(), TRUE, TRUE);
            record.Set(preconfig, preconfig, nullptr, 0, nullptr, nullptr);
            record.m_nKept = CProxySettings::KeepServer | CProxySettings::KeepUser |
                             CProxySettings::KeepPassword;
            EXPECT_TRUE(record.Save());
        }
        EXPECT_EQ(fresh.ReadDword("Login", "UseProxy", kMissing), preconfig ? 0u : 1u);
        EXPECT_EQ(fresh.ReadSz("Login", "ProxyServer"), "");
        EXPECT_FALSE(fresh.HasValue("Login", "ProxyUser"));
        EXPECT_FALSE(fresh.HasValue("Login", "ProxyPasswd"));
    }
}

// A Login key whose permissions let the user read and write values, but neither change its
// permissions nor delete it, takes every save: each step asks only for the rights it uses
// (deleting a value needs no more than setting one).
TEST_F(ProxySettingsTest, ALoginKeyGrantingReadAndWriteOnlyTakesEverySave)
{
    for (BOOL useProxy : {TRUE, FALSE})
    {
        SCOPED_TRACE(useProxy ? "explicit proxy" : "no proxy, which deletes user and password");
        ScratchKey fresh{kScratch};
        fresh.WriteSz("Login", "ProxyUser", "old user");
        fresh.WriteSz("Login", "ProxyPasswd", "GEStHgbTYNFDYiKNfCCAVro8gpE");
        GrantedKey granted{std::string(kScratch) + "\\Login", kReadWriteOnly};
        ASSERT_TRUE(granted.Grants(KEY_READ | KEY_WRITE));
        ASSERT_TRUE(granted.Refuses(KEY_ALL_ACCESS));

        CProxySettings record(fresh.Open(), TRUE, TRUE);
        record.Set(useProxy, FALSE, "proxy", 8080, "user", "pw");
        EXPECT_TRUE(record.CanSave());
        EXPECT_TRUE(record.Save());
        EXPECT_EQ(fresh.ReadDword("Login", "UseProxy", kMissing), useProxy ? 3u : 1u);
        EXPECT_EQ(fresh.ReadSz("Login", "ProxyServer"), useProxy ? "proxy:8080" : "");
        EXPECT_EQ(fresh.HasValue("Login", "ProxyUser"), useProxy != FALSE);
        EXPECT_EQ(fresh.HasValue("Login", "ProxyPasswd"), useProxy != FALSE);
    }
}
} // namespace
