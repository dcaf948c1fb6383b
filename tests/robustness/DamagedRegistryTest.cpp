// Damaged registry shapes, each driven through the real dialog: the dialog opens with the
// documented fallback in every field, and confirming writes a clean layout.
#include "app/CSettingsApp.h"
#include "res/resource.h"
#include "settings/PasswordCodec.h"
#include "support/DialogDriver.h"
#include "support/ScratchKey.h"
#include "support/ModalDialogRun.h"
#include "ui/CStartupSettingsDlg.h"
#include "support/WindowText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
const char kAppKey[] = "Software\\Orvane\\Tessaly Kr";

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

// The password that a text scrambled with another key unscrambles to, up to its first zero.
std::string ForeignPassword(const std::string& text)
{
    char* out = nullptr;
    UnscramblePassword(text.c_str(), PROXY_PASSWD_KEY, &out);
    std::string password = out != nullptr ? out : "";
    FreePasswordBuffer(out);
    return password;
}

std::string ScrambledWithKey(const char* password, uint32_t key)
{
    char* out = nullptr;
    ScramblePasswordWithSeed(password, key, 1234567890u, &out);
    std::string text = out != nullptr ? out : "";
    FreePasswordBuffer(out);
    return text;
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
    {"ProxyPasswd scrambled with another key: arbitrary bytes up to the first zero",
     [](const ScratchKey& k)
     {
         k.WriteSz("Login", "ProxyServer", "p:1");
         k.WriteSz("Login", "ProxyPasswd", ScrambledWithKey("secret password", 12345));
     },
     [](Shown& s)
     {
         s.preconfigOption = false;
         s.host = "p";
         s.port = "1";
         s.password = ForeignPassword(ScrambledWithKey("secret password", 12345));
     }},
};

// After a confirm: every value of the layout has its type and a value the game understands.
void ExpectCleanLayout(const ScratchKey& key)
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
    if (key.HasValue("Login", "ProxyPasswd"))
    {
        char* out = nullptr;
        EXPECT_EQ(
            UnscramblePassword(key.ReadSz("Login", "ProxyPasswd").c_str(), PROXY_PASSWD_KEY, &out),
            1);
        FreePasswordBuffer(out);
    }
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
    ExpectCleanLayout(key);
}

INSTANTIATE_TEST_SUITE_P(Shapes, DamagedRegistryTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<Shape>& info)
                         { return "shape" + std::to_string(info.index); });
} // namespace
