// The proxy password as the registry holds it, unscrambled with the program's key, for tests that
// check what a run stored.
#pragma once

#include "settings/PasswordCodec.h"
#include "support/ScratchKey.h"

#include <string>

// The bytes a scrambled text gives back, up to the first zero; "<does not unscramble>" when the
// codec refuses the text.
inline std::string UnscrambledPassword(const std::string& scrambled)
{
    char* pszPassword = nullptr;
    const int nResult = UnscramblePassword(scrambled.c_str(), PROXY_PASSWD_KEY, &pszPassword);
    const std::string password =
        nResult == 1 && pszPassword != nullptr ? pszPassword : "<does not unscramble>";
    FreePasswordBuffer(pszPassword);
    return password;
}

// The password stored below the key's Login subkey, or "<not stored>".
inline std::string StoredPassword(const ScratchKey& key)
{
    const std::string scrambled = key.ReadSz("Login", "ProxyPasswd");
    if (scrambled == "<missing>")
        return "<not stored>";
    return UnscrambledPassword(scrambled);
}
