// The application object's identity, its key in the real registry, the running-game
// check with real named mutexes, and the titled texts.
#include "app/AppIdentity.h"
#include "app/CSettingsApp.h"
#include "app/GameMutex.h"
#include "app/TitledText.h"
#include "settings/CStartupSettings.h"
#include "support/DialogDriver.h"
#include "support/ObjectCounts.h"
#include "support/ScratchCurrentUser.h"
#include "support/ScratchKey.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();

// Every test here starts with the application's fixed key gone and removes it afterwards.
class SettingsAppTest : public ::testing::Test
{
protected:
    void SetUp() override { theApp.ApplyIdentity(); }
    ScratchKey appKey{kAppKey};
};

// The framework's own message boxes (the validation prompts among them) take their caption from
// the application's name, which the identity sets to the product title.
TEST_F(SettingsAppTest, TheFrameworksMessageBoxesAreCaptionedWithTheProductTitle)
{
    MessageBoxAnswerer boxes{IDOK};
    EXPECT_EQ(AfxMessageBox("text", MB_OK | MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].shownCaption, "Corvath Plus");
    EXPECT_EQ(boxes.Seen()[0].shownText, "text");
}

TEST_F(SettingsAppTest, GetAppRegistryKeyCreatesTheApplicationKey)
{
    ASSERT_FALSE(appKey.Exists());
    HKEY hKey = theApp.GetAppRegistryKey();
    ASSERT_NE(hKey, nullptr);
    RegCloseKey(hKey);
    EXPECT_TRUE(appKey.Exists());
}

// The program opens HKEY_CURRENT_USER\software itself and creates its keys below it: all of that
// lands below the test program's scratch key, and the real user's key stays as it was.
TEST_F(SettingsAppTest, TheProgramsRegistryAccessLandsBelowTheScratchKey)
{
    const auto userSettings = ScratchCurrentUser::UserSettings();
    {
        CStartupSettings stored(theApp.GetAppRegistryKey());
        stored.m_bEnableBGM = FALSE;
        ASSERT_TRUE(stored.Save());
    }
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyExA(ScratchCurrentUser::Scratch(), "Software\\Orvane\\Tessaly Kr\\Configs",
                            0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    DWORD dwValue = 0xDEADBEEF;
    DWORD cbValue = sizeof(dwValue);
    EXPECT_EQ(RegQueryValueExA(hKey, "EnableBGM", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&dwValue), &cbValue),
              ERROR_SUCCESS);
    RegCloseKey(hKey);
    EXPECT_EQ(dwValue, 0u);
    EXPECT_EQ(ScratchCurrentUser::UserSettings(), userSettings) << "the real key changed";
}

TEST(GameMutex, ReportsTheMutexOnlyWhileItExists)
{
    EXPECT_FALSE(IsGameRunning(kGameMutexName));
    HANDLE hGame = CreateMutexA(nullptr, TRUE, kGameMutexName);
    ASSERT_NE(hGame, nullptr);
    EXPECT_TRUE(IsGameRunning(kGameMutexName));
    EXPECT_FALSE(IsGameRunning("Velmora Mutex 2"));
    CloseHandle(hGame);
    // No handle of ours kept the mutex alive.
    EXPECT_FALSE(IsGameRunning(kGameMutexName));
}

// Counted in the system's handle list (Wine answers 0 to the process's own handle count): a handle
// the check kept open would add one per call.
TEST(GameMutex, LeavesNoHandleOpen)
{
    HANDLE hGame = CreateMutexA(nullptr, FALSE, kGameMutexName);
    ASSERT_NE(hGame, nullptr);
    const DWORD before = ObjectCounts::Now().handles;
    ASSERT_GT(before, 0u) << "the process's handles cannot be counted here";
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(IsGameRunning(kGameMutexName));
    EXPECT_EQ(ObjectCounts::Now().handles, before);
    CloseHandle(hGame);
}

TEST(GameMutex, ANameOfAnotherKindOfObjectIsNotTheGame)
{
    HANDLE hEvent = CreateEventA(nullptr, FALSE, FALSE, kGameMutexName);
    ASSERT_NE(hEvent, nullptr);
    EXPECT_FALSE(IsGameRunning(kGameMutexName));
    CloseHandle(hEvent);
}

// A game that runs elevated may grant others nothing but SYNCHRONIZE on its mutex: that must
// still count as running. Wine does not enforce such a DACL (it grants SYNCHRONIZE, and here even
// full access), so under Wine this shows that our reduced access request opens it; the decision
// for an "access denied" answer is tested on its own below.
TEST(GameMutex, AMutexThatGrantsOnlySynchronizeCountsAsRunning)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    HANDLE hGame = CreateMutexA(&attributes, FALSE, kGameMutexName);
    ASSERT_NE(hGame, nullptr);

    EXPECT_TRUE(IsGameRunning(kGameMutexName));
    HANDLE hFull = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kGameMutexName);
    if (hFull == nullptr)
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    else
        CloseHandle(hFull);

    CloseHandle(hGame);
    LocalFree(descriptor);
}

TEST(GameMutex, AnOpenRefusedForLackOfAccessCountsAsRunning)
{
    struct Case
    {
        BOOL opened;
        DWORD error;
        BOOL running;
    };
    const Case cases[] = {
        {TRUE, ERROR_SUCCESS, TRUE},
        {FALSE, ERROR_ACCESS_DENIED, TRUE},
        {FALSE, ERROR_FILE_NOT_FOUND, FALSE},
        {FALSE, ERROR_INVALID_HANDLE, FALSE}, // the name belongs to an event or the like
        {FALSE, ERROR_INVALID_NAME, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(MutexOpenShowsGame(c.opened, c.error), c.running);
    }
}

TEST(TitledText, SubstitutesTheTitleForTheOnlyPercentS)
{
    struct Case
    {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"\xA1\xBA%s\xA1\xBB \xB1\xE2", "\xA1\xBA"
                                        "Corvath Plus\xA1\xBB \xB1\xE2"},
        {"%s", "Corvath Plus"},
        {"no title", "no title"},
        {"100%% %s", "100% Corvath Plus"},
        {"%s and %s", "Corvath Plus and %s"},
        {"%d %x %n %p %", "%d %x %n %p %"},
        {"%%s", "%s"},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.format);
        EXPECT_STREQ(SubstituteTitle(c.format, kProductTitle), c.expected);
    }
}

TEST(TitledText, FormatTitledStringLoadsTheResourceAndFillsTheTitle)
{
    CString text = "untouched";
    EXPECT_TRUE(theApp.FormatTitledString(200, text));
    EXPECT_STREQ(text, "[Corvath Plus] settings");
    EXPECT_TRUE(theApp.FormatTitledString(201, text));
    EXPECT_STREQ(text, "100% of Corvath Plus, then %d %s %x %n %");
    EXPECT_TRUE(theApp.FormatTitledString(202, text));
    EXPECT_STREQ(text, "no title here");
}

TEST(TitledText, AMissingStringLeavesTheOutputUnchanged)
{
    for (UINT id : {203u, 999u, 12345u})
    {
        SCOPED_TRACE(id);
        CString text = "untouched";
        EXPECT_FALSE(theApp.FormatTitledString(id, text));
        EXPECT_STREQ(text, "untouched");
    }
}
} // namespace
