// The single application object: the registry identity, the product title, and the services the
// dialogs use to show titled texts.
#pragma once

#include "framework/CString.h"
#include "framework/CWinApp.h"

class CSettingsApp : public CWinApp
{
public:
    CSettingsApp();

    BOOL InitInstance() override;

    // Sets the maker key, the profile name and the product title as the application name. The
    // stored settings are reachable only after this.
    void ApplyIdentity();

    // String nID with the product title in place of its "%s". FALSE, rText unchanged, when the
    // string cannot be loaded.
    BOOL FormatTitledString(UINT nID, CString& rText) const;

    // The titled string nID in a message box of style nType; answers the button pressed.
    int ShowTitledMessage(UINT nID, UINT nType) const;
};

extern CSettingsApp theApp;
