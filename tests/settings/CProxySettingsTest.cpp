// The proxy settings record against the real registry, below a key of the test's own.
#include "settings/CProxySettings.h"
#include "settings/PasswordCodec.h"
#include "support/ReadOnlyKey.h"
#include "support/ScratchKey.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(ProxySettingsSplit, SplitServerTable)
{
    struct Case
    {
        const char* server;
        const char* host;
        UINT port;
    };
    const Case cases[] = {
        {"proxy", "proxy", 80},
        {"proxy:", "proxy", 80},
        {":8080", "", 8080},
        {"a:b:c", "a", 0},
        {"a:8080x", "a", 8080},
        {"", "", 80},
        {"p:8080", "p", 8080},
        {"h: 42", "h", 42},
        {"h:+7", "h", 7},
        {"h:-1", "h", 4294967295u},
        {"h:99999999999", "h", 2147483647u},
        {"h:-99999999999", "h", 2147483648u},
        // In code page 949 0x3A can only be a character of its own, but the scan must still step
        // over double-byte characters: "한" is C7 D1.
        {"\xC7\xD1:81", "\xC7\xD1", 81},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.server);
        CProxySettings record(nullptr, FALSE, TRUE);
        record.m_strProxyServer = c.server;
        CString host = "untouched";
        UINT port = 0xDEADBEEF;
        record.SplitServer(host, port);
        EXPECT_STREQ(host, c.host);
        EXPECT_EQ(port, c.port);
        EXPECT_STREQ(record.m_strProxyServer, c.server);
    }
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
} // namespace
