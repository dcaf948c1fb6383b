// The record of everything the program stores, against the real registry below a key of the
// test's own: how the media switches read, and that a save goes through whole or not at all.
#include "settings/CStartupSettings.h"
#include "support/GrantedKey.h"
#include "support/ReadOnlyKey.h"
#include "support/RegistrySnapshot.h"
#include "support/ScratchKey.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char kScratch[] = "Software\\StartupSettingsTests\\StartupSettings";
const char* const kSwitches[] = {"EnableBGM", "EnableSound", "EnableMovie"};

class StartupSettingsTest : public ::testing::Test
{
protected:
    ScratchKey key{kScratch};
};

BOOL CStartupSettings::*SwitchField(const std::string& name)
{
    if (name == "EnableBGM")
        return &CStartupSettings::m_bEnableBGM;
    if (name == "EnableSound")
        return &CStartupSettings::m_bEnableSound;
    return &CStartupSettings::m_bEnableMovie;
}

TEST_F(StartupSettingsTest, ASwitchIsSavedAsADwordOfZeroOrOneAndReadsBack)
{
    for (const char* name : kSwitches)
    {
        SCOPED_TRACE(name);
        ScratchKey fresh{kScratch};
        {
            CStartupSettings stored(fresh.Open());
            stored.Load();
            EXPECT_EQ(stored.*SwitchField(name), TRUE) << "a missing switch reads as on";
            stored.*SwitchField(name) = FALSE;
            ASSERT_TRUE(stored.Save());
        }
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(fresh.Read("Configs", name, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(data, std::string("\0\0\0\0", 4));

        CStartupSettings reread(fresh.Open());
        reread.Load();
        EXPECT_EQ(reread.*SwitchField(name), FALSE);
        for (const char* other : kSwitches)
        {
            if (std::string(other) == name)
                continue;
            EXPECT_EQ(fresh.ReadDword("Configs", other, 0xDEADBEEF), 1u) << other;
        }
    }
}

// A switch is its stored number whatever the type: shorter data reads zero-extended, data longer
// than four bytes counts as missing (on).
TEST_F(StartupSettingsTest, ASwitchReadsItsNumberWhateverTheTypeAndLongDataAsMissing)
{
    struct Case
    {
        const char* name;
        DWORD type;
        std::string data;
        BOOL expected;
    };
    const Case cases[] = {
        {"no data", REG_BINARY, std::string(), FALSE},
        {"one byte of 1", REG_BINARY, std::string("\x01", 1), TRUE},
        {"one byte of 0", REG_BINARY, std::string("\x00", 1), FALSE},
        {"three zero bytes", REG_BINARY, std::string("\0\0\0", 3), FALSE},
        {"a high bit alone", REG_BINARY, std::string("\x00\x00\x00\x80", 4), TRUE},
        {"four zero bytes as text", REG_SZ, std::string("\0\0\0\0", 4), FALSE},
        {"a number above 1", REG_DWORD, std::string("\x07\0\0\0", 4), TRUE},
        {"eight zero bytes", REG_QWORD, std::string(8, '\0'), TRUE},
        {"zero text longer than four bytes", REG_SZ, std::string("0\0\0\0\0\0", 6), TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        key.Write("Configs", "EnableSound", c.type, c.data);
        CStartupSettings stored(key.Open());
        stored.Load();
        EXPECT_EQ(stored.m_bEnableSound, c.expected);
        EXPECT_EQ(stored.m_bEnableBGM, TRUE);
    }
}

TEST_F(StartupSettingsTest, LoadingOnAFreshUserLeavesBothKeysEmptyBehind)
{
    {
        CStartupSettings stored(key.Open());
        stored.Load();
        EXPECT_EQ(stored.m_bEnableBGM, TRUE);
        EXPECT_EQ(stored.m_bEnableSound, TRUE);
        EXPECT_EQ(stored.m_bEnableMovie, TRUE);
        EXPECT_EQ(stored.m_proxy.m_nProxyMode, Preconfig);
    }
    EXPECT_TRUE(key.Exists("Configs"));
    EXPECT_TRUE(key.Exists("Login"));
    EXPECT_EQ(ValueCount(SnapshotRegistry(kScratch)), 0u) << "reading writes no value";
}

TEST_F(StartupSettingsTest, WithoutAnApplicationKeyEverythingReadsAsDefaultAndNothingSaves)
{
    CStartupSettings stored(nullptr);
    stored.Load();
    EXPECT_EQ(stored.m_bEnableBGM, TRUE);
    EXPECT_EQ(stored.m_proxy.m_nProxyMode, Preconfig);
    EXPECT_FALSE(stored.CanSave());
    EXPECT_FALSE(stored.Save());
}

// Either key refusing to be written: the stored values still load, and the save writes nothing at
// all, not even to the key that would have taken it.
TEST_F(StartupSettingsTest, AKeyThatRefusesWritingStillLoadsAndLeavesTheSaveUndone)
{
    for (const char* refusing : {"Configs", "Login"})
    {
        SCOPED_TRACE(refusing);
        ScratchKey fresh{kScratch};
        fresh.WriteDword("Configs", "EnableBGM", 0);
        fresh.WriteDword("Configs", "EnableSound", 1);
        fresh.WriteDword("Login", "UseProxy", 3);
        fresh.WriteSz("Login", "ProxyServer", "p.example:3128");
        fresh.WriteSz("Login", "ProxyUser", "bob");
        const auto before = SnapshotRegistry(kScratch);

        ReadOnlyKey readOnly{std::string(kScratch) + "\\" + refusing};
        ASSERT_TRUE(readOnly.Refuses());
        CStartupSettings stored(fresh.Open());
        stored.Load();
        EXPECT_EQ(stored.m_bEnableBGM, FALSE);
        EXPECT_EQ(stored.m_proxy.m_nProxyMode, NamedProxy);
        EXPECT_STREQ(stored.m_proxy.m_strProxyServer, "p.example:3128");
        EXPECT_STREQ(stored.m_proxy.m_strProxyUser, "bob");

        stored.m_bEnableBGM = TRUE;
        stored.m_bEnableMovie = FALSE;
        stored.m_proxy.Set(FALSE, FALSE, nullptr, 0, nullptr, nullptr);
        EXPECT_FALSE(stored.CanSave());
        EXPECT_FALSE(stored.Save());
        readOnly.Restore();
        EXPECT_EQ(SnapshotRegistry(kScratch), before) << "nothing was written";
    }
}

TEST_F(StartupSettingsTest, ASaveWritesTheSwitchesAndTheProxyRecordTogether)
{
    {
        CStartupSettings stored(key.Open());
        stored.m_bEnableMovie = FALSE;
        stored.m_proxy.Set(TRUE, FALSE, "proxy.example", 8080, "alice", "");
        EXPECT_TRUE(stored.CanSave());
        EXPECT_TRUE(stored.Save());
    }
    EXPECT_EQ(key.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(key.ReadDword("Configs", "EnableSound", 0xDEADBEEF), 1u);
    EXPECT_EQ(key.ReadDword("Configs", "EnableMovie", 0xDEADBEEF), 0u);
    EXPECT_EQ(key.ReadDword("Login", "UseProxy", 0xDEADBEEF), 3u);
    EXPECT_EQ(key.ReadSz("Login", "ProxyServer"), "proxy.example:8080");
    EXPECT_EQ(key.ReadSz("Login", "ProxyUser"), "alice");
    EXPECT_FALSE(key.HasValue("Login", "ProxyPasswd")) << "an empty password is not stored";
}

// Configs and Login granting the user read and write of values only (no WRITE_DAC, WRITE_OWNER or
// DELETE), and an application key handle that holds no more than the right to read, as the
// program opens a read-only application key: the values load and a save goes through.
TEST_F(StartupSettingsTest, KeysGrantingReadAndWriteOnlyLoadAndSave)
{
    key.WriteDword("Configs", "EnableBGM", 0);
    key.WriteDword("Login", "UseProxy", 3);
    key.WriteSz("Login", "ProxyServer", "p.example:3128");
    key.WriteSz("Login", "ProxyUser", "bob");
    GrantedKey grantedConfigs{std::string(kScratch) + "\\Configs", kReadWriteOnly};
    GrantedKey grantedLogin{std::string(kScratch) + "\\Login", kReadWriteOnly};
    ASSERT_TRUE(grantedConfigs.Refuses(KEY_ALL_ACCESS));
    ASSERT_TRUE(grantedLogin.Refuses(KEY_ALL_ACCESS));
    HKEY hReadOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_QUERY_VALUE, &hReadOnly),
              ERROR_SUCCESS);

    CStartupSettings stored(hReadOnly);
    stored.Load();
    EXPECT_EQ(stored.m_bEnableBGM, FALSE);
    EXPECT_EQ(stored.m_proxy.m_nProxyMode, NamedProxy);
    EXPECT_STREQ(stored.m_proxy.m_strProxyUser, "bob");
    stored.m_bEnableBGM = TRUE;
    stored.m_proxy.Set(FALSE, FALSE, nullptr, 0, nullptr, nullptr);
    EXPECT_TRUE(stored.CanSave());
    EXPECT_TRUE(stored.Save());
    EXPECT_EQ(key.ReadDword("Configs", "EnableBGM", 0xDEADBEEF), 1u);
    EXPECT_EQ(key.ReadDword("Login", "UseProxy", 0xDEADBEEF), 1u);
    EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
}
} // namespace
