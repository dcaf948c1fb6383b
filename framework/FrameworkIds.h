// The framework's own resource ids: the default application title, the prompts of its data
// exchange and its standard commands. The numbers are the ones this kind of framework has always
// used; a program's resource scripts include this header to supply the texts and to name the
// commands, so the framework never needs the program's ids.
#pragma once

// Strings
#define AFX_IDS_APP_TITLE 57344 // 0xE000: the default application name

// Prompts of the data exchange's validation
#define AFX_IDP_PARSE_INT_RANGE 61714 // 0xF112: "%1" and "%2" are the bounds
#define AFX_IDP_PARSE_UINT 61719      // 0xF117

// Standard commands
#define ID_EDIT_COPY 0xE122
