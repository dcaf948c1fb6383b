// A separate process for the cross-process tests: "save KEY HEX" saves the password given in hex
// as a named proxy below HKCU\KEY; "load KEY" loads the record and writes the password it read,
// as REG_BINARY, to HKCU\KEY\Probe\Loaded.
#include "settings/CProxySettings.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{
HKEY OpenKey(const char* path)
{
    HKEY hKey = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &hKey, nullptr);
    return hKey;
}

CString FromHex(const char* hex)
{
    CString text;
    for (; hex[0] != '\0' && hex[1] != '\0'; hex += 2)
    {
        const char pair[3] = {hex[0], hex[1], '\0'};
        text += static_cast<char>(strtoul(pair, nullptr, 16));
    }
    return text;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "save") == 0)
    {
        CProxySettings record(OpenKey(argv[2]), FALSE, TRUE);
        record.Set(TRUE, FALSE, "proxy", 8080, "user", FromHex(argv[3]));
        record.Save();
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "load") == 0)
    {
        CProxySettings record(OpenKey(argv[2]), TRUE, TRUE);
        HKEY hProbe = nullptr;
        RegCreateKeyExA(record.m_hKey, "Probe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hProbe,
                        nullptr);
        RegSetValueExA(hProbe, "Loaded", 0, REG_BINARY,
                       reinterpret_cast<const BYTE*>(record.m_strProxyPasswd.GetString()),
                       record.m_strProxyPasswd.GetLength());
        RegCloseKey(hProbe);
        return 0;
    }
    return 2;
}
