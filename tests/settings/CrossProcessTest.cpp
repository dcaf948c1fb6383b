// A password saved by one process reads back unchanged in another: nothing of the format may
// depend on the state of the process that wrote it.
#include "support/ScratchKey.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char kScratch[] = "Software\\StartupSettingsTests\\CrossProcess";

DWORD RunProbe(const std::string& arguments)
{
    std::string commandLine = "\"" STARTUP_PROXY_PROBE "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes)
    {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

TEST(CrossProcess, PasswordSavedByOneProcessLoadsInAnother)
{
    const std::string passwords[] = {"secret", "\xC7\xD1\xB1\xDB pass\xFF", "x"};
    for (const std::string& password : passwords)
    {
        SCOPED_TRACE(Hex(password));
        ScratchKey key{kScratch};
        ASSERT_EQ(RunProbe("save " + std::string(kScratch) + " " + Hex(password)), 0u);
        ASSERT_TRUE(key.HasValue("Login", "ProxyPasswd"));
        ASSERT_EQ(RunProbe("load " + std::string(kScratch)), 0u);
        DWORD type = 0;
        std::string loaded;
        ASSERT_TRUE(key.Read("Probe", "Loaded", &type, &loaded));
        EXPECT_EQ(Hex(loaded), Hex(password));
    }
}
} // namespace
