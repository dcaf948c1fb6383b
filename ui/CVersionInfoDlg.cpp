#include "ui/CVersionInfoDlg.h"

#include "res/resource.h"

CVersionInfoDlg::CVersionInfoDlg() : CDialog(IDD_VERSION_INFO, nullptr) {}
