// Everything the program stores below the application key, the one record of the stored layout:
// the three media switches (the "Configs" key) and the network settings (the "Login" key, through
// the proxy record). It loads them, tells whether every key it writes opens for writing, and saves
// them all or nothing. The dialog only moves values between this record and its fields.
#pragma once

#include "settings/CProxySettings.h"

#include <windows.h>

class CRegKey;

class CStartupSettings
{
public:
    // hAppKey: the application key (may be null: every value reads as its default and nothing is
    // saved). The record closes it when it goes.
    explicit CStartupSettings(HKEY hAppKey);
    ~CStartupSettings();
    CStartupSettings(const CStartupSettings&) = delete;
    CStartupSettings& operator=(const CStartupSettings&) = delete;

    // Reads every stored value, opening each key once and asking only to query its values (they
    // are created where missing, empty). A switch that is missing reads as on; any number but 0
    // is on.
    void Load();
    // Whether every key that Save writes opens to set values (created where missing).
    BOOL CanSave();
    // Writes the switches as 0 or 1, then the proxy record. Nothing is written unless every key
    // opens to set values first, so a refusing registry keeps the stored settings whole; each key
    // is opened once. TRUE when every key opened and every value was written.
    BOOL Save();

    BOOL m_bEnableBGM = TRUE;
    BOOL m_bEnableSound = TRUE;
    BOOL m_bEnableMovie = TRUE;
    // Shares the application key; the network fields are filled with its Set.
    CProxySettings m_proxy;

private:
    // Configs and Login, opened to set values; FALSE unless both opened.
    BOOL OpenForSaving(CRegKey& keyConfigs, CRegKey& keyLogin) const;

    HKEY m_hAppKey;
};
