// The version information dialog, opened from the main dialog's system menu.
#pragma once

#include "framework/CDialog.h"

class CVersionInfoDlg : public CDialog
{
public:
    CVersionInfoDlg();
};
