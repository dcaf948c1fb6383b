// The version record read back as its tree of blocks: VS_VERSION_INFO holding the fixed file
// information, then StringFileInfo (string tables of key and text values) and VarFileInfo.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct VersionNode
{
    std::wstring key;
    WORD type = 0;                    // 1 for a text value, 0 for binary
    std::vector<unsigned char> value; // binary values
    std::wstring text;                // text values, without the terminator
    std::vector<VersionNode> children;

    // The first child with this key, or null.
    const VersionNode* Child(const std::wstring& childKey) const;
};

// Reads the whole record; false when a block's length runs past its parent or the data.
bool ParseVersionNode(const std::vector<unsigned char>& data, VersionNode* out);
