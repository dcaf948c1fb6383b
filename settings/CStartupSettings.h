// Everything the program stores below the application key, the one record of the stored layout:
// the three media switches (the "Configs" key) and the network settings (the "Login" key, through
// the proxy record). It loads them, tells whether every key it writes opens for writing, and saves
// them all or nothing. The dialog only moves values between this record and its fields.
#pragma once

#include "settings/CProxySettings.h"

#include <windows.h>

class CStartupSettings
{
public:
    // hAppKey: the application key (may be null: every value reads as its default and nothing is
    // saved). The record closes it when it goes.
    explicit CStartupSettings(HKEY hAppKey);
    ~CStartupSettings();
    CStartupSettings(const CStartupSettings&) = delete;
    CStartupSettings& operator=(const CStartupSettings&) = delete;

    // Reads every stored value, opening the keys for reading only (they are created where missing,
    // empty). A switch that is missing reads as on; any number but 0 is on.
    void Load();
    // Whether every key that Save writes opens for writing (created where missing).
    BOOL CanSave();
    // Writes the switches as 0 or 1, then the proxy record. Nothing is written unless every key
    // opens for writing first, so a refusing registry keeps the stored settings whole. TRUE when
    // every key opened and every value was written.
    BOOL Save();

    BOOL m_bEnableBGM = TRUE;
    BOOL m_bEnableSound = TRUE;
    BOOL m_bEnableMovie = TRUE;
    // Shares the application key; the network fields are filled with its Set.
    CProxySettings m_proxy;

private:
    BOOL ReadSwitch(const char* lpszValue, BOOL bDefault) const;
    BOOL WriteSwitch(const char* lpszValue, BOOL bOn);

    HKEY m_hAppKey;
};
