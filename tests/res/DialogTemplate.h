// A dialog template read back from its resource bytes, in either form: the classic DLGTEMPLATE or
// the extended DLGTEMPLATEEX. Fields that only the extended form has read as 0 for a classic one.
#pragma once

#include "res/ResourceReader.h"

#include <windows.h>

#include <string>
#include <vector>

struct DialogItem
{
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0; // a WORD in the classic form
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    std::vector<unsigned char> creationData;
};

struct DialogTemplate
{
    bool extended = false;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    // Present when the style has DS_SETFONT.
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Reads a whole template; false when the data ends early or runs past the items it announces.
bool ParseDialogTemplate(const std::vector<unsigned char>& data, DialogTemplate* out);
