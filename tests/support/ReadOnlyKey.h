// A registry key that refuses writing for real while the object lives: its DACL grants everybody
// read access only (Wine enforces key DACLs, in this process and in others). The owner may still
// change the DACL, which is how the key's own descriptor is given back at the end.
#pragma once

#include "support/GrantedKey.h"

#include <string>

class ReadOnlyKey : public GrantedKey
{
public:
    // HKEY_CURRENT_USER\path, created where missing.
    explicit ReadOnlyKey(const std::string& path) : GrantedKey(path, "D:P(A;;KR;;;WD)") {}

    // Whether the key now refuses writing: an open for writing fails with "access denied".
    bool Refuses() const { return GrantedKey::Refuses(KEY_WRITE); }
};
