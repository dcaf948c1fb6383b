// HKEY_CURRENT_USER of the test program redirected to a scratch key of its own for the whole run,
// so that no test reads, changes or deletes a real user's settings, also outside the private Wine
// prefix. Everything in the process that opens HKEY_CURRENT_USER through the registry functions
// lands below the scratch key: the program's code under test, ScratchKey, ReadOnlyKey and the
// snapshots alike. A program that a test starts is another process and sees the real key: such a
// test cannot use this (the end-to-end tests guard themselves instead).
#pragma once

#include "support/RegistrySnapshot.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

class ScratchCurrentUser : public ::testing::Environment
{
public:
    // Where the real key's scratch stand-in lives, per process: test programs may run side by side.
    static std::string ScratchPath()
    {
        return "Software\\Startup settings tests\\" + std::to_string(GetCurrentProcessId());
    }

    // The real HKEY_CURRENT_USER\Software, opened before the redirection (null outside a run).
    static HKEY RealSoftware() { return s_hRealSoftware; }
    // The scratch key that stands for HKEY_CURRENT_USER during the run (null outside a run).
    static HKEY Scratch() { return s_hScratch; }

    void SetUp() override
    {
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &s_hRealSoftware),
                  ERROR_SUCCESS);
        m_userSettingsBefore = UserSettings();
        RegDeleteTreeA(HKEY_CURRENT_USER, ScratchPath().c_str());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ScratchPath().c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &s_hScratch,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, s_hScratch), ERROR_SUCCESS);
        // Every user has a Software key; the program opens it without creating it.
        HKEY hSoftware = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &hSoftware,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(hSoftware);
        // No test runs unless the redirection holds: a key made through HKEY_CURRENT_USER shows
        // below the scratch key and not in the real one.
        ASSERT_TRUE(Redirected()) << "HKEY_CURRENT_USER is not redirected: no test may run";
    }

    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(s_hScratch);
        s_hScratch = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, ScratchPath().c_str());
        // Only once no other test program holds a scratch key there.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Startup settings tests");
        EXPECT_EQ(UserSettings(), m_userSettingsBefore) << "the user's own settings changed";
        RegCloseKey(s_hRealSoftware);
        s_hRealSoftware = nullptr;
    }

    // Whether a key created through HKEY_CURRENT_USER now lands below the scratch key only.
    static bool Redirected()
    {
        const char kProbe[] = "Startup settings tests probe";
        const std::string probePath = std::string("Software\\") + kProbe;
        HKEY hProbe = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, probePath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_READ, nullptr, &hProbe, nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hProbe);
        const bool bInScratch = Exists(s_hScratch, probePath.c_str());
        const bool bInReal = Exists(s_hRealSoftware, kProbe);
        RegDeleteKeyA(HKEY_CURRENT_USER, probePath.c_str());
        return bInScratch && !bInReal;
    }

    // The real key of the application's settings, as text: a line per value, "" when absent.
    static std::map<std::string, std::string> UserSettings()
    {
        return SnapshotRegistry("Orvane\\Tessaly Kr", s_hRealSoftware);
    }

private:
    static bool Exists(HKEY hParent, const char* pszPath)
    {
        HKEY hKey = nullptr;
        if (hParent == nullptr ||
            RegOpenKeyExA(hParent, pszPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hKey);
        return true;
    }

    // The key's values and subkeys, each on a line of its own with its path; "" when absent.
    static inline HKEY s_hRealSoftware = nullptr;
    static inline HKEY s_hScratch = nullptr;
    std::map<std::string, std::string> m_userSettingsBefore;
};

// Registers the redirection for this test program, once however many of its files ask for it.
inline ::testing::Environment* RedirectCurrentUserForThisProgram()
{
    static ::testing::Environment* const s_pEnvironment =
        ::testing::AddGlobalTestEnvironment(new ScratchCurrentUser);
    return s_pEnvironment;
}
