// Resource ids shared by the code and the resource scripts of all three language sets. The
// framework owns its ids (its default title, its validation prompts, the copy command) in its own
// header; the scripts include that too, and the names below let the program's code and tests
// address the framework's texts like the program's own.
#pragma once

#include "framework/FrameworkIds.h"

// Dialog templates
#define IDD_VERSION_INFO 100
#define IDD_STARTUP_SETTINGS 131

// Strings
#define IDS_VERSION_MENU_ITEM 101
#define IDS_TITLE_FORMAT 128
#define IDS_GAME_RUNNING 10000
#define IDS_APP_TITLE AFX_IDS_APP_TITLE // the framework's default application name

// Messages of a confirm that cannot save: the registry refused, a proxy text holds a character
// that the stored values' code page cannot, or the host holds a ':' (or only blanks) that would
// not read back as typed. A string block of their own (627).
#define IDS_SAVE_FAILED 10016
#define IDS_UNSTORABLE_TEXT 10017
#define IDS_COLON_IN_HOST 10018
#define IDS_NO_PROXY_HOST 10019

// The name of a link's default action, as a screen reader announces it ("jump" in the set's own
// words); in the same block.
#define IDS_LINK_DEFAULT_ACTION 10020

// The framework's prompts of the port validation
#define IDP_PARSE_INT_RANGE AFX_IDP_PARSE_INT_RANGE
#define IDP_PARSE_UINT AFX_IDP_PARSE_UINT

// Menu, bitmap, icon, cursor
#define IDR_LINK_CONTEXT_MENU 129
#define IDB_BANNER 132
#define IDI_APP 128
#define IDC_LINK_HAND 130

// Commands
#define IDM_VERSION_INFO 0x0010

// Controls of the startup settings dialog
#define IDC_BANNER 1001
#define IDC_INITIALIZE 1002
#define IDC_ENABLE_BGM 1003
#define IDC_ENABLE_SOUND 1004
#define IDC_ENABLE_MOVIE 1005
#define IDC_USE_PROXY 1006
#define IDC_PROXY_PRECONFIG 1007
#define IDC_PROXY_NAMED 1008
#define IDC_PROXY_HOST 1009
#define IDC_PROXY_PORT 1010
#define IDC_PROXY_USER 1011
#define IDC_PROXY_PASSWORD 1012

// Controls of the version information dialog
#define IDC_VERSION_TITLE 1013
#define IDC_VERSION_LINE 1014
#define IDC_LINK_COMMUNITY 1015
#define IDC_LINK_HOMEPAGE 1016
