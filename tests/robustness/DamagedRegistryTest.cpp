// Damaged registry shapes, each driven through the real dialog: the dialog opens with the
// documented fallback in every field, and confirming writes a clean layout.
#include "app/CSettingsApp.h"
#include "res/resource.h"
#include "settings/Text6.h"
#include "support/DialogDriver.h"
#include "support/ModalDialogRun.h"
#include "support/ScratchCurrentUser.h"
#include "support/ScratchKey.h"
#include "support/StoredPassword.h"
#include "support/WindowText.h"
#include "ui/CStartupSettingsDlg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";
[[maybe_unused]] const auto* const kScratchUser = RedirectCurrentUserForThisProgram();

// Stored texts made once with the seed 1234567890 and checked by hand against the stored format,
// so that a fault of the codec cannot hide on both sides of a comparison. "secret password" with
// the program's key:
const char kSecretPasswordText[] = "GEStHgbTYNFDYiKNfCCAVro8gpE";
// and with the key 12345. The program's key reads a wrong seed from its header and unscrambles it
// to 17 bytes with no zero among them: the 16 of the body and one more, from the left-over bits of
// the text's last group.
const char kForeignKeyText[] = "qKikIgbTYNFDYiKNfCCAVro8gpE";
const char kForeignKeyPassword[] = "\xCE"
                                   "E1\xEE\xD1"
                                   "Hi8~qX\xA6\xCA$\x1E\xE3"
                                   "N";

// What the dialog shows, read from its controls.
struct Shown
{
    bool bgm = true, sound = true, movie = true;
    bool useProxy = true;
    bool preconfigOption = true; // 1007 selected (else 1008)
    std::string host, port = "80", user, password;
};

bool Checked(HWND hDialog, int id)
{
    return SendDlgItemMessageA(hDialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Shown Read(HWND hDialog)
{
    Shown shown;
    shown.bgm = Checked(hDialog, IDC_ENABLE_BGM);
    shown.sound = Checked(hDialog, IDC_ENABLE_SOUND);
    shown.movie = Checked(hDialog, IDC_ENABLE_MOVIE);
    shown.useProxy = Checked(hDialog, IDC_USE_PROXY);
    shown.preconfigOption =
        Checked(hDialog, IDC_PROXY_PRECONFIG) && !Checked(hDialog, IDC_PROXY_NAMED);
    shown.host = ItemText(hDialog, IDC_PROXY_HOST);
    shown.port = ItemText(hDialog, IDC_PROXY_PORT);
    shown.user = ItemText(hDialog, IDC_PROXY_USER);
    shown.password = ItemText(hDialog, IDC_PROXY_PASSWORD);
    return shown;
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

struct Shape
{
    const char* name;
    std::function<void(const ScratchKey&)> store;
    std::function<void(Shown&)> expect; // changes from the fresh-installation view
};

// Names the shape in test output instead of dumping its bytes.
void PrintTo(const Shape& shape, std::ostream* os)
{
    *os << shape.name;
}

const std::string kLongHost(65536, 'h');

const Shape kShapes[] = {
    {"EnableBGM as REG_SZ \"0\" reads its bytes: on",
     [](const ScratchKey& k) { k.Write("Configs", "EnableBGM", REG_SZ, std::string("0\0", 2)); },
     [](Shown&) {}},
    {"EnableSound as REG_EXPAND_SZ \"\" reads zero: off",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableSound", REG_EXPAND_SZ, std::string(1, '\0')); },
     [](Shown& s) { s.sound = false; }},
    {"EnableMovie as REG_MULTI_SZ longer than 4 bytes: default on",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableMovie", REG_MULTI_SZ, std::string("ab\0cd\0\0", 7)); },
     [](Shown&) {}},
    {"EnableBGM as zero-length REG_BINARY: off",
     [](const ScratchKey& k) { k.Write("Configs", "EnableBGM", REG_BINARY, ""); },
     [](Shown& s) { s.bgm = false; }},
    {"EnableSound as REG_QWORD: default on",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableSound", REG_QWORD, std::string(8, '\0')); },
     [](Shown&) {}},
    {"EnableMovie DWORD data of 1 byte 0: off",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableMovie", REG_DWORD, std::string(1, '\0')); },
     [](Shown& s) { s.movie = false; }},
    {"EnableBGM DWORD data of 3 bytes 0: off",
     [](const ScratchKey& k) { k.Write("Configs", "EnableBGM", REG_DWORD, std::string(3, '\0')); },
     [](Shown& s) { s.bgm = false; }},
    {"EnableSound DWORD data of 8 bytes: default on",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableSound", REG_DWORD, std::string(8, '\0')); },
     [](Shown&) {}},
    {"EnableMovie as a 64 KiB string: default on",
     [](const ScratchKey& k)
     { k.Write("Configs", "EnableMovie", REG_SZ, std::string(65536, 'x')); },
     [](Shown&) {}},
    {"UseProxy as REG_SZ \"1\" with a server: missing, so explicit proxy",
     [](const ScratchKey& k)
     {
         k.Write("Login", "UseProxy", REG_SZ, std::string("1\0", 2));
         k.WriteSz("Login", "ProxyServer", "p:8080");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "8080";
     }},
    {"UseProxy as REG_QWORD 1: missing, so the system's settings",
     [](const ScratchKey& k)
     { k.Write("Login", "UseProxy", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8)); },
     [](Shown&) {}},
    {"UseProxy as REG_BINARY 1: missing",
     [](const ScratchKey& k) { k.Write("Login", "UseProxy", REG_BINARY, Dword(1)); },
     [](Shown&) {}},
    {"UseProxy DWORD data of 2 bytes 1: reads 1, no proxy",
     [](const ScratchKey& k) { k.Write("Login", "UseProxy", REG_DWORD, std::string("\1\0", 2)); },
     [](Shown& s) { s.useProxy = false; }},
    {"UseProxy of zero length: reads 0",
     [](const ScratchKey& k) { k.Write("Login", "UseProxy", REG_DWORD, ""); }, [](Shown&) {}},
    {"ProxyServer as REG_EXPAND_SZ: empty",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_EXPAND_SZ, std::string("p:8080\0", 7));
     },
     [](Shown&) {}},
    {"ProxyServer as REG_MULTI_SZ: empty",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_MULTI_SZ, std::string("p:8080\0\0", 8));
     },
     [](Shown&) {}},
    {"ProxyServer as REG_BINARY: empty",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_BINARY, "p:8080");
     },
     [](Shown&) {}},
    {"ProxyServer as REG_QWORD: empty",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_QWORD, std::string(8, 'p'));
     },
     [](Shown&) {}},
    {"ProxyServer of zero length: empty",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_SZ, "");
     },
     [](Shown&) {}},
    {"ProxyServer without its terminating zero: read whole",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.Write("Login", "ProxyServer", REG_SZ, "proxy:3128");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "proxy";
         s.port = "3128";
     }},
    {"ProxyServer of 64 KiB: the host as stored",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 3);
         k.WriteSz("Login", "ProxyServer", kLongHost + ":81");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = kLongHost;
         s.port = "81";
     }},
    // A damaged port beside "no proxy" shows in the disabled port field; not the user's to
    // correct there, it is not checked, and the save stores no server with no proxy.
    {"UseProxy 1 with a port above 65535: no proxy, the port shown disabled",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 1);
         k.WriteSz("Login", "ProxyServer", "p:70000");
     },
     [](Shown& s)
     {
         s.useProxy = false;
         s.host = "p";
         s.port = "70000";
     }},
    {"UseProxy 1 with a port of -1: no proxy, the port part as stored",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 1);
         k.WriteSz("Login", "ProxyServer", "p:-1");
     },
     [](Shown& s)
     {
         s.useProxy = false;
         s.host = "p";
         s.port = "-1";
     }},
    {"UseProxy 1 with a port of letters: no proxy, the port part as stored",
     [](const ScratchKey& k)
     {
         k.WriteDword("Login", "UseProxy", 1);
         k.WriteSz("Login", "ProxyServer", "p:http");
     },
     [](Shown& s)
     {
         s.useProxy = false;
         s.host = "p";
         s.port = "http";
     }},
    {"ProxyUser as REG_BINARY: empty",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.Write("Login", "ProxyUser", REG_BINARY, "user");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
     }},
    {"ProxyPasswd with invalid characters: empty",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.WriteSz("Login", "ProxyPasswd", "**##!!$$");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
     }},
    {"ProxyPasswd of 5 characters: empty",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.WriteSz("Login", "ProxyPasswd", "gI1Xj");
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
     }},
    {"ProxyPasswd of a known text: its password",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.WriteSz("Login", "ProxyPasswd", kSecretPasswordText);
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
         s.password = "secret password";
     }},
    {"ProxyPasswd scrambled with another key: arbitrary bytes up to the first zero",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.WriteSz("Login", "ProxyPasswd", kForeignKeyText);
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
         s.password = kForeignKeyPassword;
     }},
};

// After a confirm: every value of the layout has its type and a value the game understands, and
// the password stored is the one shown.
void ExpectCleanLayout(const ScratchKey& key, const std::string& password)
{
    for (const char* entry : {"EnableBGM", "EnableSound", "EnableMovie"})
    {
        SCOPED_TRACE(entry);
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(key.Read("Configs", entry, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        ASSERT_EQ(data.size(), 4u);
        EXPECT_TRUE(data == Dword(0) || data == Dword(1));
    }
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(key.Read("Login", "UseProxy", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    const DWORD mode = key.ReadDword("Login", "UseProxy", 0xDEADBEEF);
    EXPECT_TRUE(mode == 0 || mode == 1 || mode == 3) << mode;
    ASSERT_TRUE(key.Read("Login", "ProxyServer", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    if (mode != 3)
    {
        EXPECT_EQ(key.ReadSz("Login", "ProxyServer"), "");
        EXPECT_FALSE(key.HasValue("Login", "ProxyUser"));
        EXPECT_FALSE(key.HasValue("Login", "ProxyPasswd"));
        return;
    }
    EXPECT_EQ(key.ReadSz("Login", "ProxyUser").rfind("<", 0), std::string::npos);
    EXPECT_EQ(StoredPassword(key), password.empty() ? "<not stored>" : password);
}

// The seed in the header of a stored text, read with the key the game reads it with (written out
// here, not taken from the codec): for a text the program saved, the time of saving.
uint32_t SeedOfStoredText(const std::string& text)
{
    std::vector<uint8_t> raw(
        static_cast<size_t>(Text6DecodedSize(static_cast<int32_t>(text.size()) + 1)));
    if (Text6Decode(text.c_str(), raw.data(), 0) < 4)
        return 0;
    const uint32_t header =
        uint32_t{raw[0]} | uint32_t{raw[1]} << 8 | uint32_t{raw[2]} << 16 | uint32_t{raw[3]} << 24;
    return header ^ 19870613u;
}

class DamagedRegistryTest : public ::testing::TestWithParam<Shape>
{
protected:
    void SetUp() override { theApp.ApplyIdentity(); }
    ScratchKey key{kAppKey};
};

TEST_P(DamagedRegistryTest, OpensWithTheFallbackAndConfirmWritesACleanLayout)
{
    const Shape& shape = GetParam();
    shape.store(key);
    const std::string storedPassword = key.ReadSz("Login", "ProxyPasswd");
    Shown expected;
    shape.expect(expected);

    MessageBoxAnswerer answerer;
    Shown shown;
    CStartupSettingsDlg dlg;
    theApp.m_pMainWnd = &dlg;
    const INT_PTR result = RunModal(dlg, {[&](HWND hDialog)
                                          {
                                              shown = Read(hDialog);
                                              SendDlgItemMessageA(hDialog, IDOK, BM_CLICK, 0, 0);
                                          }});
    theApp.m_pMainWnd = nullptr;

    EXPECT_EQ(shown.bgm, expected.bgm);
    EXPECT_EQ(shown.sound, expected.sound);
    EXPECT_EQ(shown.movie, expected.movie);
    EXPECT_EQ(shown.useProxy, expected.useProxy);
    EXPECT_EQ(shown.preconfigOption, expected.preconfigOption);
    EXPECT_EQ(shown.host.size(), expected.host.size());
    EXPECT_TRUE(shown.host == expected.host);
    EXPECT_EQ(shown.port, expected.port);
    EXPECT_EQ(shown.user, expected.user);
    EXPECT_EQ(shown.password, expected.password);

    for (const SeenMessageBox& box : answerer.Seen())
        ADD_FAILURE() << "message box \"" << box.caption << "\": " << box.text;
    ASSERT_EQ(result, IDOK);
    ExpectCleanLayout(key, shown.password);
    // A password that the player did not touch keeps its stored text, seed and all; one that
    // did not unscramble showed empty and is gone.
    if (!shown.password.empty())
        EXPECT_EQ(key.ReadSz("Login", "ProxyPasswd"), storedPassword);
    else
        EXPECT_FALSE(key.HasValue("Login", "ProxyPasswd"));
}

// A password typed over one scrambled with another key is saved with the game's key, scrambled
// anew at the time of saving.
TEST(DamagedPasswordTest, APasswordTypedOverADamagedOneIsSavedWithTheGamesKey)
{
    theApp.ApplyIdentity();
    ScratchKey key{kAppKey};
    key.WriteSz("Login", "ProxyServer", "p:1");
    key.WriteSz("Login", "ProxyPasswd", kForeignKeyText);

    MessageBoxAnswerer answerer;
    uint32_t clickTime = 0, savedTime = 0; // the seconds around the saving click
    CStartupSettingsDlg dlg;
    theApp.m_pMainWnd = &dlg;
    const INT_PTR result =
        RunModal(dlg, {[&](HWND hDialog)
                       {
                           SetDlgItemTextA(hDialog, IDC_PROXY_PASSWORD, "new password");
                           clickTime = static_cast<uint32_t>(time(nullptr));
                           SendDlgItemMessageA(hDialog, IDOK, BM_CLICK, 0, 0);
                           savedTime = static_cast<uint32_t>(time(nullptr));
                       }});
    theApp.m_pMainWnd = nullptr;
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(StoredPassword(key), "new password");
    const uint32_t seed = SeedOfStoredText(key.ReadSz("Login", "ProxyPasswd"));
    EXPECT_GE(seed, clickTime) << "the password was not saved with the game's key";
    EXPECT_LE(seed, savedTime) << "the password was not saved with the game's key";
}

INSTANTIATE_TEST_SUITE_P(Shapes, DamagedRegistryTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<Shape>& info)
                         { return "shape" + std::to_string(info.index); });
} // namespace
